# `cpack -G DEB` (make package): one package, tarvola_<version>_<arch>.deb, everything under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvola)
set(CPACK_PACKAGE_VERSION "${TARVOLA_VERSION_TEXT}")
set(CPACK_PACKAGE_VENDOR "The ${TARVOLA_PRODUCT_NAME} developers")
set(CPACK_PACKAGE_CONTACT "The ${TARVOLA_PRODUCT_NAME} developers <packages@tarvola.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "convert GPX files into KML and KMZ for Google Earth")
set(CPACK_PACKAGE_DESCRIPTION
    "${TARVOLA_PRODUCT_NAME} turns the waypoints, routes and tracks of GPX files from GPS receivers, \
phones and sports watches into KML documents and KMZ packages for Google Earth, keeping every \
coordinate, elevation and time exactly as the file wrote it. It comes as a small window and as \
a command-line converter, tarvola-convert, for batch and scripted use.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(TARVOLA_HOME_URL)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${TARVOLA_HOME_URL}")
endif()
if(TARVOLA_BUILD_GUI)
  # What the window loads at run time without linking it: the platform plugins, the faces it
  # registers and the narrow fallback it asks for. (libqt6svg6, which holds the SVG icon
  # engine, comes with the link to Qt SVG.)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-wine, fonts-dejavu-core")
endif()
include(CPack)
