# SPDX-FileCopyrightText: 2026 Pictalon developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Installing Pictalon like a Linux program, and its Debian package.
#
# The program folder keeps the layout it has in the build (programs, the engine and the data
# folders side by side) under <prefix>/lib/pictalon/; <prefix>/bin/ gets the links "pictalon" and
# "pictgen". The marker file "installed-layout" tells the programs that the folder is shared and
# read-only, so each user's galleries, pages and working files go to ~/.local/share/pictalon/.
# The desktop entry, the icon, the gallery file type and the software centres' metadata join the
# desktop's shared folders.

set(PICTALON_INSTALL_DIR "lib/pictalon")
set(_desktop "${PROJECT_SOURCE_DIR}/data/desktop")

# The desktop program arrives with its own folder's CMakeLists; install it once it exists.
foreach(program IN ITEMS Pictalon pictgen)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION "${PICTALON_INSTALL_DIR}")
  endif()
endforeach()
# The engine, and its windows module that it loads beside itself into a host that runs Qt.
install(TARGETS Pictgen PictgenUi LIBRARY DESTINATION "${PICTALON_INSTALL_DIR}")
# The shipped data only: "Data/User/" and "Output/" of the build folder are a user's, not the
# program's.
install(DIRECTORY
    "${PROJECT_SOURCE_DIR}/data/Data"
    "${PROJECT_SOURCE_DIR}/data/Templates"
    "${PROJECT_SOURCE_DIR}/data/Cell Sampler"
    "${PROJECT_SOURCE_DIR}/data/Guide"
  DESTINATION "${PICTALON_INSTALL_DIR}"
  PATTERN "User" EXCLUDE)
install(FILES "${_desktop}/installed-layout" DESTINATION "${PICTALON_INSTALL_DIR}")
# The desktop program's translations, built beside it.
install(DIRECTORY "${PICTALON_PROGRAM_DIR}/translations" DESTINATION "${PICTALON_INSTALL_DIR}"
  FILES_MATCHING PATTERN "*.qm")

# Relative links, so the installed tree can be moved (a package's staging folder, a prefix). Made
# in the build folder and installed as they are, so the install manifest lists them.
set(_links "")
if(TARGET Pictalon)
  list(APPEND _links "pictalon=Pictalon")
endif()
list(APPEND _links "pictgen=pictgen")
set(_link_folder "${PROJECT_BINARY_DIR}/install-links")
file(MAKE_DIRECTORY "${_link_folder}")
foreach(link IN LISTS _links)
  string(REPLACE "=" ";" link "${link}")
  list(GET link 0 name)
  list(GET link 1 target)
  file(CREATE_LINK "../${PICTALON_INSTALL_DIR}/${target}" "${_link_folder}/${name}" SYMBOLIC)
  install(FILES "${_link_folder}/${name}" DESTINATION bin)
endforeach()

if(TARGET Pictalon)
  install(FILES "${_desktop}/pictalon.desktop" DESTINATION share/applications)
  install(FILES "${_desktop}/org.example.pictalon.metainfo.xml" DESTINATION share/metainfo)
endif()
install(FILES "${_desktop}/pictalon.svg" DESTINATION share/icons/hicolor/scalable/apps)
install(FILES "${_desktop}/pictalon-mime.xml" DESTINATION share/mime/packages RENAME pictalon.xml)

# Compressed as Debian wants it: at the highest level, without a time stamp or name inside, so
# the same sources make the same package.
function(pictalon_gzip source target)
  get_filename_component(folder "${target}" DIRECTORY)
  file(MAKE_DIRECTORY "${folder}")
  execute_process(COMMAND gzip -9 -n -c "${source}" OUTPUT_FILE "${target}" RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "gzip failed on ${source}")
  endif()
endfunction()

# The manual pages.
set(_pages pictgen)
if(TARGET Pictalon)
  list(APPEND _pages pictalon)
endif()
foreach(page IN LISTS _pages)
  set(_page "${PROJECT_SOURCE_DIR}/data/man/${page}.1")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${_page}")
  pictalon_gzip("${_page}" "${PROJECT_BINARY_DIR}/man/${page}.1.gz")
  install(FILES "${PROJECT_BINARY_DIR}/man/${page}.1.gz" DESTINATION share/man/man1)
endforeach()

# What Debian asks of every package: the copyright and the changelog.
string(TIMESTAMP PICTALON_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
set(PICTALON_MAINTAINER "Pictalon developers <pictalon@example.org>")
set(_changelog "${PROJECT_BINARY_DIR}/debian/changelog")
configure_file("${PROJECT_SOURCE_DIR}/cmake/debian/changelog.in" "${_changelog}" @ONLY)
pictalon_gzip("${_changelog}" "${_changelog}.gz")
install(FILES "${PROJECT_SOURCE_DIR}/cmake/debian/copyright" "${_changelog}.gz"
        DESTINATION share/doc/pictalon)
install(FILES "${PROJECT_SOURCE_DIR}/cmake/debian/lintian-overrides" DESTINATION share/lintian/overrides
        RENAME pictalon)

# The Debian package (scripts/package.sh): pictalon_<version>_amd64.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pictalon)
set(CPACK_PACKAGE_VENDOR "Pictalon developers")
set(CPACK_PACKAGE_CONTACT "${PICTALON_MAINTAINER}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${PICTALON_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Opening pages in the browser goes through xdg-open; Qt's standard dialogs speak the user's
# language with Qt's own translations.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "web gallery generator for folders of photos
Pictalon turns a folder of JPEG photos into a finished web gallery: numbered
static HTML pages with page navigation, captions with a title, reference and
size for each photo, one shared style sheet, and a choice of page templates and
cell styles.
.
The desktop program keeps any number of galleries, shows the photos as
thumbnails for review and edits the page templates; pictgen generates a
gallery's pages from the command line.")
# Control files with the modes dpkg and lintian expect (0644).
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries are private to the program folder: no ldconfig calls (see the script).
set(CPACK_POST_BUILD_SCRIPTS "${PROJECT_SOURCE_DIR}/cmake/debian/without-ldconfig.cmake")
include(CPack)
