# The generated header build_info.h (target barvik_build_info): the version of project() and the installed
# data folder. Everything that prints the version or looks for installed data takes it from there.
include(GNUInstallDirs)

# Where `cmake --install` and the package put catalogs and manuals, below the install prefix.
set(BARVIK_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/barvik)
file(RELATIVE_PATH BARVIK_DATA_DIR_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/barvik)

configure_file(${CMAKE_CURRENT_LIST_DIR}/build_info.h.in ${PROJECT_BINARY_DIR}/generated/build_info.h @ONLY)
add_library(barvik_build_info INTERFACE)
target_include_directories(barvik_build_info INTERFACE ${PROJECT_BINARY_DIR}/generated)
