# `cmake --install` and the Debian package: the programs in bin, catalogs and manuals in the data folder of
# build_info.h, the desktop files of data/, the licence as the package's copyright file.

set(installed_programs barvik-cli)
if(BARVIK_BUILD_GUI)
    list(APPEND installed_programs barvik)
endif()
install(TARGETS ${installed_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The workbook reader, which the programs start and look for in ../libexec/barvik beside bin.
install(TARGETS barvik-sheet-reader RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/barvik)

# Whatever the build puts under locale/ (catalogs, manuals and their pictures), laid out as it is there.
file(MAKE_DIRECTORY ${BARVIK_LOCALE_DIR})
install(DIRECTORY ${BARVIK_LOCALE_DIR}/ DESTINATION ${BARVIK_INSTALL_DATADIR}/locale
        FILES_MATCHING PATTERN "*.mo" PATTERN "*.html" PATTERN "*.png" PATTERN "*.jpg" PATTERN "*.svg"
        PATTERN "*.css")

# Named after the package, as Debian keeps the documentation of each package.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/barvik RENAME copyright)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/barvik)

set(BARVIK_PACKAGE_MAINTAINER "Barvik developers <packaging@barvik.invalid>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME barvik)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Barvik developers")
set(CPACK_PACKAGE_CONTACT ${BARVIK_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "cutting plans for pipes, bars and profiles with little waste")
set(CPACK_PACKAGE_DESCRIPTION "Barvik works out how to cut the pieces a job needs (label, length, quantity)
from the bars, pipes or profiles in stock, taking the saw blade width and the
unusable stub of every bar into account. It shows the cutting patterns, the
left-over length of every bar and the reusable remnants, prints them, and
keeps remnants as a stock list for the next job.

The package holds the desktop program barvik and the command-line program
barvik-cli, which computes the same layouts for scripts.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so the library scan can't see them: the window's display plugins and a font.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core")
include(CPack)
