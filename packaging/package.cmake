# cpack -G DEB (from the build folder) makes tessera_VERSION_ARCH.deb of what
# cmake --install installs, stripped, under /usr. Its dependencies are worked out by
# dpkg-shlibdeps (package dpkg-dev) from the libraries the programs link.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessera)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${TESSERA_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Only tessera-render --video runs it.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS ffmpeg)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "interactive art piece: moving shapes painted over a photograph")
# The summary above is the description's first line; this is the rest.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "tessera shows a photograph as a textured board and lets you lay
coloured, gently moving shapes over it with the mouse, each coloured like
the region of the picture under the pointer. Shapes trade places and
sizes, travel round each other's outlines and fly off past the viewer
when nobody is at the pointer.
.
Any JPEG or PNG photograph can be the board; tessera-set makes a picture
set of one beforehand. Sessions can be recorded and replayed, and
tessera-render plays them without a display into PNG pictures or, with
ffmpeg, a video to share.
.
It draws with OpenGL 1.1 and runs full screen or in a window.")
include(CPack)
