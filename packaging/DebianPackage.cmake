# The Debian package, built by `cpack` in the build tree (scripts/package.sh does it all).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${TARROW_PACKAGE_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "the Tarrow Boot Screen Editor authors")
set(CPACK_PACKAGE_CONTACT "Tarrow Boot Screen Editor team <maintainers@tarrow.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "pixel editor for the boot screen of the Tarrow marker")
set(CPACK_PACKAGE_DESCRIPTION [[
The Tarrow marker shows a picture on its 32 x 128 monochrome display when it
is switched on. The Tarrow Boot Screen Editor is where that picture is drawn,
pixel by pixel on an enlarged grid, and exported as a Tarrow Boot Screen File
(.tbs) for the Tarrow USB Tool to load onto the marker. It also reads .tbs
files back, saves the drawing as a BMP image and opens image files.

The package also holds tbs, a command-line tool that converts between boot
screen files and images, checks files, shows them in a terminal and makes the
thumbnails with which file managers show .tbs files.]])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The shared libraries come from dpkg-shlibdeps. Qt loads its platform plugins at run time,
# which no library scan sees, and without one the editor cannot open a window.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
# tbs reads WebP, TIFF and SVG pictures through these plug-ins, and names what is missing.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-image-formats-plugins, libqt6svg6")

include(CPack)
