# barvik_module_library(NAME [EXCLUDE regex] LINKS dep...): a static library of every .cpp in the calling
# folder (minus the excluded ones), with the src/ include root, moc, the shared flags and its dependencies.
function(barvik_module_library name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "EXCLUDE" "LINKS")
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    if(arg_EXCLUDE)
        list(FILTER sources EXCLUDE REGEX "${arg_EXCLUDE}")
    endif()
    add_library(${name} STATIC ${sources})
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC barvik_flags ${arg_LINKS})
endfunction()
