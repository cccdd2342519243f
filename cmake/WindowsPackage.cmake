# The zip a Windows player downloads (`cpack --preset windows`, run by `make windows`): the one
# self-contained quillon-tool.exe, a README for players, the program's licence, and the licence
# texts of the Qt linked into it, which scripts/build-windows-qt.sh keeps beside that Qt.
set(QUILLON_QT_LICENCES "${QT6_INSTALL_PREFIX}/licenses"
    CACHE PATH "The licence texts of the static Qt and where its source is")

# Notepad on older Windows shows a file with bare line feeds as one long line.
configure_file(${PROJECT_SOURCE_DIR}/data/windows/README.txt.in ${PROJECT_BINARY_DIR}/README.txt
               @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_BINARY_DIR}/LICENSE.txt @ONLY
               NEWLINE_STYLE CRLF)

install(TARGETS quillon-tool RUNTIME DESTINATION .)
install(FILES ${PROJECT_BINARY_DIR}/README.txt ${PROJECT_BINARY_DIR}/LICENSE.txt DESTINATION .)
install(DIRECTORY ${QUILLON_QT_LICENCES}/ DESTINATION licences/qt PATTERN ".quillon-*" EXCLUDE)

# Packing needs the program only, not the test suites.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME quillon-tool)
set(CPACK_PACKAGE_FILE_NAME quillon-tool-${PROJECT_VERSION}-windows-x64)
set(CPACK_STRIP_FILES ON)
set(CPACK_QUILLON_SOURCE_DIR ${PROJECT_SOURCE_DIR})
set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/SortZip.cmake)
include(CPack)
