# The Debian package of what `cmake --install` installs: `cpack -G DEB` in a build folder
# (tools/package.sh). Its dependencies are found from the libraries the program links.
set(CPACK_PACKAGE_NAME tovrelline)
set(CPACK_PACKAGE_VENDOR Tovrelline)
set(CPACK_PACKAGE_CONTACT "Tovrelline developers <developers@tovrelline.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Disc label designer for CD and DVD labels and case inserts")
set(CPACK_PACKAGE_DESCRIPTION
    "Designs printed disc labels, jewel-case and DVD-case inserts with text, track lists and pictures, \
reads album data from audio CDs, prints on label stock and exports labels as images.")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The icons are SVG, drawn by Qt's SVG plugins, which are loaded at run time rather than linked.
set(CPACK_DEBIAN_PACKAGE_DEPENDS libqt6svg6)
# Designs name Windows fonts; these are the metric-compatible faces drawn in their place.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-liberation2)
include(CPack)
