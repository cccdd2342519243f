# How CPack builds the Debian package (`make package`, `cpack --preset package`).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillon-tool)
set(CPACK_PACKAGE_VENDOR "Brackens' Quillon Tool developers")
set(CPACK_PACKAGE_CONTACT "${QUILLON_MAINTAINER}")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://quillon-tool.example.org/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "settings editor for the Quillon modification of Unreal Tournament")
# Debian wraps the long description itself only on display; keep its lines short here.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Edits the five .ini files of Quillon, the thieves-against-guards team"
    "modification of Unreal Tournament: the player's four thief and four guard"
    "loadouts, forced buying, and fourteen player, system and server options."
    "It finds the game's System folder in a Wine prefix by itself and writes the"
    "files back all five or none, changing nothing but the edited values.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Debian's games section is for games, installed in /usr/games; a tool that edits a game's
# settings, and a command line for its servers, is one of Debian's utilities.
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link come from dpkg-shlibdeps; the serif font the windows fall back
# to when Times New Roman is missing is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
include(CPack)
