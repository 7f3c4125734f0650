# Cross build for Windows x86-64 with mingw-w64, win32-threads flavour. The radio starts no thread;
# the posix flavour would link a threads runtime statically into every program, and that runtime
# installs a process-wide vectored exception handler when the loader attaches the plug-in.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TRALLIO_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TRALLIO_MINGW_PREFIX}-gcc-win32)
set(CMAKE_CXX_COMPILER ${TRALLIO_MINGW_PREFIX}-g++-win32)
set(CMAKE_RC_COMPILER ${TRALLIO_MINGW_PREFIX}-windres)
set(CMAKE_DLLTOOL ${TRALLIO_MINGW_PREFIX}-dlltool)
set(CMAKE_FIND_ROOT_PATH /usr/${TRALLIO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
