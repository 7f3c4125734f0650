# The player's zip, made with CPack in the Windows build folder (cpack -G ZIP there):
#   Trallio.asi, TrallioCheck.exe, README.txt, Trallio/Trallio.ini, the three empty station
#   folders Trallio/Radio 1..3 and TagLib's licence in Trallio/Licences, unpacked straight into
#   the game folder.
# The text files keep Unix line ends in the repository; the zip carries them with Windows ones.
set(trallio_package_source ${PROJECT_SOURCE_DIR}/package)
set(trallio_package_staging ${CMAKE_BINARY_DIR}/package-files)

# Stages `text` as `staged` (relative to the staging folder) with Windows line ends, rewriting the
# file only when it changes.
function(trallio_stage_text text staged)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  set(path ${trallio_package_staging}/${staged})
  set(previous "")
  if(EXISTS ${path})
    file(READ ${path} previous)
  endif()
  if(NOT previous STREQUAL text)
    file(WRITE ${path} "${text}")
  endif()
endfunction()

foreach(text_file README.txt Trallio/Trallio.ini)
  file(READ ${trallio_package_source}/${text_file} text)
  trallio_stage_text("${text}" ${text_file})
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${trallio_package_source}/${text_file})
endforeach()

# TagLib's licence, from the source package the plug-in's copy was built from.
file(GLOB taglib_stamp ${TRALLIO_TAGLIB_PREFIX}/built-from-taglib-*)
get_filename_component(taglib_version "${taglib_stamp}" NAME)
string(REPLACE "built-from-taglib-" "" taglib_version "${taglib_version}")
set(taglib_notice "Trallio.asi contains TagLib ${taglib_version}, the library that reads the artist and title
saved in your music files (the setting titles=tags). It is built, unchanged, from Debian's
source package taglib, version ${taglib_version}, where its source code is published.

TagLib is free software. It is distributed under the GNU Lesser General Public License,
version 2.1, or the Mozilla Public License, version 1.1, at your choice: the texts of both are
in this folder (TagLib COPYING.LGPL.txt and TagLib COPYING.MPL.txt), and TagLib copyright.txt
names its authors.
")
trallio_stage_text("${taglib_notice}" "Trallio/Licences/TagLib.txt")
foreach(pair "COPYING.LGPL=TagLib COPYING.LGPL.txt" "COPYING.MPL=TagLib COPYING.MPL.txt"
             "debian-copyright=TagLib copyright.txt")
  string(REPLACE "=" ";" pair "${pair}")
  list(GET pair 0 from)
  list(GET pair 1 to)
  file(READ ${TRALLIO_TAGLIB_PREFIX}/licence/${from} text)
  trallio_stage_text("${text}" "Trallio/Licences/${to}")
endforeach()
install(DIRECTORY ${trallio_package_staging}/Trallio/Licences DESTINATION Trallio)

install(FILES ${trallio_package_staging}/README.txt DESTINATION .)
install(FILES ${trallio_package_staging}/Trallio/Trallio.ini DESTINATION Trallio)
install(DIRECTORY DESTINATION "Trallio/Radio 1")
install(DIRECTORY DESTINATION "Trallio/Radio 2")
install(DIRECTORY DESTINATION "Trallio/Radio 3")

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Trallio)
set(CPACK_PACKAGE_VENDOR Trallio)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Trallio-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES ON)
include(CPack)
