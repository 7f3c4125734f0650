# The Windows side of the Linux build: cross-builds this same source tree with mingw-w64 into
# ${CMAKE_BINARY_DIR}/windows (Trallio.asi and the wine test rig) and runs the Windows programs
# under wine64 as part of this build's tests (label "wine").
find_program(TRALLIO_MINGW_CXX x86_64-w64-mingw32-g++-win32)
find_program(TRALLIO_MINGW_OBJDUMP x86_64-w64-mingw32-objdump)
find_program(TRALLIO_WINE64 wine64 PATHS /usr/lib/wine)
find_program(TRALLIO_WINESERVER wineserver PATHS /usr/lib/wine)
find_program(TRALLIO_GST_LAUNCH gst-launch-1.0)

set(trallio_wine_default OFF)
if(TRALLIO_MINGW_CXX AND TRALLIO_MINGW_OBJDUMP AND TRALLIO_WINE64 AND TRALLIO_WINESERVER)
  set(trallio_wine_default ON)
endif()
option(TRALLIO_WINE_TESTS "Cross-build the Windows tree and run its tests under wine" ${trallio_wine_default})
set(TRALLIO_WINDOWS_JOBS 1 CACHE STRING "Parallel jobs of the Windows tree's build (it runs beside this build's own jobs)")

if(NOT TRALLIO_WINE_TESTS)
  return()
endif()
if(NOT TRALLIO_MINGW_CXX OR NOT TRALLIO_WINE64 OR NOT TRALLIO_WINESERVER)
  message(FATAL_ERROR "TRALLIO_WINE_TESTS needs x86_64-w64-mingw32-g++-win32, wine64 and wineserver "
                      "(bash scripts/install-deps.sh installs them)")
endif()

include(ExternalProject)
set(TRALLIO_WINDOWS_DIR ${CMAKE_BINARY_DIR}/windows)
ExternalProject_Add(trallio_windows
  SOURCE_DIR ${CMAKE_SOURCE_DIR}
  BINARY_DIR ${TRALLIO_WINDOWS_DIR}
  PREFIX ${CMAKE_BINARY_DIR}/windows-build-steps
  CMAKE_GENERATOR Ninja
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-w64.cmake
    -DCMAKE_BUILD_TYPE=Release
    -DTRALLIO_TAGLIB_PREFIX=${CMAKE_SOURCE_DIR}/build/taglib/mingw
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --parallel ${TRALLIO_WINDOWS_JOBS}
  BUILD_ALWAYS ON
  INSTALL_COMMAND ""
  USES_TERMINAL_BUILD ON)

# The tests, run with wine64 in a prefix of this build's own.
get_filename_component(wine_dir ${TRALLIO_WINE64} DIRECTORY)
set(wine_rig ${TRALLIO_WINDOWS_DIR}/tests/windows/bin)
set(wine_prefix ${CMAKE_BINARY_DIR}/wineprefix)
set(wine_path "PATH=path_list_prepend:${wine_dir}")
set(wine_env WINEPREFIX=${wine_prefix} WINEDEBUG=-all)
# Every program runs through wine-run.sh, which stops one still running after 100 s (under the
# tests' limit of 120) and passes on what it printed; the test host and the directory-stream test
# also stop themselves after 60 s and name the step they were at (rig::StartWatchdog).
set(wine_run_script ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh)
set(wine_run bash ${wine_run_script})

# A sound device that takes samples and plays them nowhere, for the system's own MCI.
set(alsa_null_conf ${CMAKE_BINARY_DIR}/alsa-null.conf)
file(WRITE ${alsa_null_conf} "pcm.!default { type null }\nctl.!default { type null }\n")

# The prefix and its server: started once for the run (wine-prefix.sh) and stopped after the last
# test that uses it, so that no test meets a server that is shutting down or starting again.
add_test(NAME wine.prefix COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/wine-prefix.sh ${wine_prefix})
set_tests_properties(wine.prefix PROPERTIES
  FIXTURES_SETUP wine_prefix
  ENVIRONMENT_MODIFICATION ${wine_path}
  TIMEOUT 300)
add_test(NAME wine.server_stop COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/wine-prefix.sh --stop ${wine_prefix})
set_tests_properties(wine.server_stop PROPERTIES
  FIXTURES_CLEANUP wine_prefix
  ENVIRONMENT_MODIFICATION ${wine_path}
  TIMEOUT 60)

# What the plug-in and the station checker import. Both are built with the win32-threads compiler
# and start no thread: no threads runtime, so no process-wide exception handler, and nothing from
# any module beyond the system's, the C runtime and the script hook.
set(import_check ${CMAKE_COMMAND} -DOBJDUMP=${TRALLIO_MINGW_OBJDUMP}
  "-DALLOWED_DLLS=kernel32\\.dll\;user32\\.dll\;winmm\\.dll\;msvcrt\\.dll\;api-ms-win-crt-[a-z0-9-]+\\.dll\;scripthookrdr2\\.dll"
  "-DFORBIDDEN_FUNCTIONS=AddVectoredExceptionHandler\;RemoveVectoredExceptionHandler")
add_test(NAME wine.imports
  COMMAND ${import_check}
    -DMODULE=${TRALLIO_WINDOWS_DIR}/src/Trallio.asi
    "-DEXPECT_DLLS=KERNEL32.dll\;USER32.dll\;WINMM.dll\;msvcrt.dll\;ScriptHookRDR2.dll"
    -DHOOK_DLL=ScriptHookRDR2.dll
    "-DHOOK_FUNCTIONS=?scriptRegister@@YAXPEAUHINSTANCE__@@P6AXXZ@Z\;?scriptUnregister@@YAXPEAUHINSTANCE__@@@Z\;?scriptWait@@YAXK@Z\;?nativeInit@@YAX_K@Z\;?nativePush64@@YAX_K@Z\;?nativeCall@@YAPEA_KXZ"
    -P ${CMAKE_SOURCE_DIR}/tests/windows/check_imports.cmake)
add_test(NAME wine.checker_imports
  COMMAND ${import_check}
    -DMODULE=${TRALLIO_WINDOWS_DIR}/tools/TrallioCheck.exe
    "-DEXPECT_DLLS=KERNEL32.dll\;WINMM.dll\;msvcrt.dll"
    -P ${CMAKE_SOURCE_DIR}/tests/windows/check_imports.cmake)

add_test(NAME wine.dir_stream COMMAND ${wine_run} ${wine_rig}/dir_stream_wine_test.exe)
set_tests_properties(wine.dir_stream PROPERTIES ENVIRONMENT "${wine_env}")

# The longest names (255 UTF-16 units) through the directory stream: a Linux name holds 255 bytes,
# so this run names the prefix's files in KOI8-R, one byte a Cyrillic letter, by a locale made here.
set(koi8r_locales ${CMAKE_BINARY_DIR}/locales)
file(MAKE_DIRECTORY ${koi8r_locales})
add_test(NAME wine.koi8r_locale COMMAND localedef -i ru_RU -f KOI8-R ${koi8r_locales}/ru_RU.KOI8-R)
set_tests_properties(wine.koi8r_locale PROPERTIES FIXTURES_SETUP koi8r_locale LABELS wine TIMEOUT 60)
add_test(NAME wine.dir_stream_long_names COMMAND ${wine_run} ${wine_rig}/dir_stream_wine_test.exe long-names)
set_tests_properties(wine.dir_stream_long_names PROPERTIES
  ENVIRONMENT "${wine_env};LOCPATH=${koi8r_locales};LC_ALL=ru_RU.KOI8-R"
  ENVIRONMENT_MODIFICATION ${wine_path}
  FIXTURES_REQUIRED "wine_prefix;koi8r_locale"
  LABELS wine
  TIMEOUT 120)

# The host's tests share the wine desktop's keyboard, mouse and cursor: one at a time.
add_test(NAME wine.load COMMAND ${wine_run} ${wine_rig}/trallio_wine_host.exe load)
add_test(NAME wine.wheel COMMAND ${wine_run} ${wine_rig}/trallio_wine_host.exe wheel)
add_test(NAME wine.refused COMMAND ${wine_run} ${wine_rig}/trallio_wine_host.exe refused)
add_test(NAME wine.unicode COMMAND ${wine_run} ${wine_rig}/trallio_wine_host.exe unicode)
add_test(NAME wine.remember COMMAND ${wine_run} ${wine_rig}/trallio_wine_host.exe remember)
add_test(NAME wine.sound_mix COMMAND ${wine_run} ${wine_rig}/trallio_wine_host.exe sound-mix)
add_test(NAME wine.pad COMMAND ${wine_run} ${wine_rig}/trallio_wine_host.exe pad)
add_test(NAME wine.media_thread COMMAND ${wine_run} ${wine_rig}/trallio_wine_host.exe media-thread)
set_tests_properties(wine.load wine.wheel wine.refused wine.unicode wine.remember wine.sound_mix wine.pad wine.media_thread
  PROPERTIES
  ENVIRONMENT "${wine_env};WINEDLLOVERRIDES=winmm=n"
  RESOURCE_LOCK wine_desktop)

# The host's watchdog, on a wait planted to never end: it must stop the program and name its step.
add_test(NAME wine.watchdog COMMAND ${wine_run} ${wine_rig}/trallio_wine_host.exe planted-hang)
set_tests_properties(wine.watchdog PROPERTIES
  ENVIRONMENT "${wine_env};WINEDLLOVERRIDES=winmm=n;TRALLIO_WINE_WATCHDOG_SECONDS=3"
  PASS_REGULAR_EXPRESSION
    "hang: trallio_wine_host planted-hang at step \"planted-hang: [^\"]*\", frame 3: the planted wait"
  RESOURCE_LOCK wine_desktop)

# The system's winmm playing a real mp3 made at test time. Every test that uses wine's own media
# service (these two and the station checker's) holds wine_media: one at a time.
add_test(NAME wine.tone
  COMMAND ${TRALLIO_GST_LAUNCH} -q audiotestsrc num-buffers=40 ! audioconvert ! lamemp3enc
          ! filesink location=${wine_rig}/tone.mp3)
set_tests_properties(wine.tone PROPERTIES FIXTURES_SETUP wine_tone)
add_test(NAME wine.real_mci COMMAND ${wine_run} ${wine_rig}/trallio_wine_host.exe real-mci)
add_test(NAME wine.refused_real_mci COMMAND ${wine_run} ${wine_rig}/trallio_wine_host.exe refused-real-mci)
set_tests_properties(wine.real_mci wine.refused_real_mci PROPERTIES
  ENVIRONMENT "${wine_env};WINEDLLOVERRIDES=winmm=b;ALSA_CONFIG_PATH=${alsa_null_conf}"
  RESOURCE_LOCK "wine_desktop;wine_media")

set_tests_properties(wine.prefix wine.server_stop wine.imports wine.checker_imports wine.dir_stream wine.load wine.wheel
  wine.refused wine.unicode wine.remember wine.sound_mix wine.pad wine.watchdog wine.media_thread wine.tone wine.real_mci wine.refused_real_mci
  PROPERTIES LABELS wine)
set_tests_properties(wine.dir_stream wine.load wine.wheel wine.refused wine.unicode wine.remember wine.sound_mix
  wine.pad wine.watchdog wine.media_thread PROPERTIES FIXTURES_REQUIRED wine_prefix)
set_tests_properties(wine.real_mci wine.refused_real_mci PROPERTIES FIXTURES_REQUIRED "wine_prefix;wine_tone")
set_tests_properties(wine.dir_stream wine.load wine.wheel wine.refused wine.unicode wine.remember wine.sound_mix
  wine.pad wine.watchdog wine.real_mci wine.refused_real_mci wine.media_thread PROPERTIES
  ENVIRONMENT_MODIFICATION ${wine_path}
  TIMEOUT 120)

# titles = tags and loudness on the real plug-in: the tagged files are made by the native maker
# beside the rig.
if(TARGET trallio-tagged-files)
  add_test(NAME wine.tagged_files COMMAND trallio-tagged-files ${wine_rig}/tagged --big)
  set_tests_properties(wine.tagged_files PROPERTIES FIXTURES_SETUP wine_tagged LABELS wine TIMEOUT 120)
  add_test(NAME wine.titles COMMAND ${wine_run} ${wine_rig}/trallio_wine_host.exe titles)
  add_test(NAME wine.loudness COMMAND ${wine_run} ${wine_rig}/trallio_wine_host.exe loudness)
  set_tests_properties(wine.titles wine.loudness PROPERTIES
    ENVIRONMENT "${wine_env};WINEDLLOVERRIDES=winmm=n"
    ENVIRONMENT_MODIFICATION ${wine_path}
    FIXTURES_REQUIRED "wine_prefix;wine_tagged"
    RESOURCE_LOCK wine_desktop
    LABELS wine
    TIMEOUT 120)
endif()

# The station checker's Windows build, through the checker's own tests of its report. It
# test-plays with wine's own media service. Each run of the checker goes through wine-run.sh,
# bounded to 40 s, so that a run that hangs fails with its output while the test goes on.
if(TARGET checker_tests)
  add_test(NAME wine.checker COMMAND checker_tests --gtest_filter=CheckerUnderWine.*)
  set_tests_properties(wine.checker PROPERTIES
    ENVIRONMENT "${wine_env};ALSA_CONFIG_PATH=${alsa_null_conf};TRALLIO_CHECK_EXE=${TRALLIO_WINDOWS_DIR}/tools/TrallioCheck.exe;TRALLIO_WINE64=${wine_run_script};TRALLIO_WINE_SECONDS=40"
    ENVIRONMENT_MODIFICATION ${wine_path}
    FIXTURES_REQUIRED wine_prefix
    RESOURCE_LOCK wine_media
    LABELS wine
    TIMEOUT 120)
endif()

# The player's zip, made by CPack in the Windows tree and checked for its layout.
add_test(NAME package.zip COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check-package.sh --make ${TRALLIO_WINDOWS_DIR})
set_tests_properties(package.zip PROPERTIES LABELS package TIMEOUT 120)
