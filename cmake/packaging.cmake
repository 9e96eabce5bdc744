# What is installed, and the packages made of it: the .deb on Linux, the ZIP on Windows.
# Included from the top CMakeLists.txt once the targets exist.
include(GNUInstallDirs)

if(NOT (WIN32 OR SELENIAL_UI))
  # The command alone (a build without the windows): installed, not packed.
  install(TARGETS stardate RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  return()
endif()

set(CPACK_PACKAGE_NAME selenial)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Vantrel)
set(CPACK_PACKAGE_CONTACT "Vantrel <selenial@vantrel.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")

if(WIN32)
  # selenial-<version>-win32.zip or -win64.zip: both programs and the README.
  install(TARGETS selenial stardate RUNTIME DESTINATION .)
  file(READ "${PROJECT_SOURCE_DIR}/LICENSE" SELENIAL_LICENCE)
  configure_file("${PROJECT_SOURCE_DIR}/data/README-windows.txt.in" "${PROJECT_BINARY_DIR}/README.txt" @ONLY
                 NEWLINE_STYLE CRLF)
  install(FILES "${PROJECT_BINARY_DIR}/README.txt" DESTINATION .)
  set(CPACK_GENERATOR ZIP)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_PACKAGE_FILE_NAME selenial-${PROJECT_VERSION}-win64)
  else()
    set(CPACK_PACKAGE_FILE_NAME selenial-${PROJECT_VERSION}-win32)
  endif()
  include(CPack)
  return()
endif()

install(TARGETS selenial stardate RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The manual pages of both programs, and the command's completion for bash.
foreach(page stardate selenial)
  configure_file("${PROJECT_SOURCE_DIR}/data/${page}.1.in" "${PROJECT_BINARY_DIR}/${page}.1" @ONLY)
  install(FILES "${PROJECT_BINARY_DIR}/${page}.1" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
install(FILES "${PROJECT_SOURCE_DIR}/data/stardate.bash-completion"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME stardate)

# The desktop entry, the metainfo and the icon, under the entry's name (the Wayland application id).
configure_file("${PROJECT_SOURCE_DIR}/data/${SELENIAL_APP_ID}.metainfo.xml.in"
               "${PROJECT_BINARY_DIR}/${SELENIAL_APP_ID}.metainfo.xml" @ONLY)
install(FILES "${PROJECT_SOURCE_DIR}/data/${SELENIAL_APP_ID}.desktop" DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES "${PROJECT_BINARY_DIR}/${SELENIAL_APP_ID}.metainfo.xml" DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES "${PROJECT_SOURCE_DIR}/src/ui/icons/selenial.svg"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${SELENIAL_APP_ID}.svg)
# The PNGs scripts/icons.sh makes from the drawing, for desktops that take no SVG.
foreach(size 16 24 32 48 64 128 256)
  install(FILES "${PROJECT_SOURCE_DIR}/src/ui/icons/selenial-${size}.png"
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${SELENIAL_APP_ID}.png)
endforeach()

# Debian's machine-readable copyright file, written from LICENSE.
set(licence_file "${PROJECT_SOURCE_DIR}/LICENSE")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${licence_file}")
file(READ "${licence_file}" licence)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]+)" copyright_line "${licence}")
set(copyright_holders "${CMAKE_MATCH_1}")
string(REGEX REPLACE "^.*\n\n(Permission )" "\\1" licence_terms "${licence}")
string(STRIP "${licence_terms}" licence_terms)
string(REPLACE "\n\n" "\n.\n" licence_terms "${licence_terms}")
string(REPLACE "\n" "\n " licence_terms "${licence_terms}")
configure_file("${PROJECT_SOURCE_DIR}/data/copyright.in" "${PROJECT_BINARY_DIR}/copyright" @ONLY)
install(FILES "${PROJECT_BINARY_DIR}/copyright" DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/selenial)

set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
# Qt's Wayland platform, for Wayland sessions; without it Qt falls back to XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_STRIP_FILES ON)
include(CPack)
