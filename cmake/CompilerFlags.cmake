# Flags shared by every target of the project: link barvik_flags instead of repeating them.
add_library(barvik_flags INTERFACE)
target_compile_options(barvik_flags INTERFACE -Wall -Wextra)
target_compile_definitions(barvik_flags INTERFACE
    QT_NO_KEYWORDS QT_USE_QSTRINGBUILDER)
if(BARVIK_SANITIZE)
    target_compile_options(barvik_flags INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                  -fno-sanitize-recover=undefined)
    target_link_options(barvik_flags INTERFACE -fsanitize=address,undefined)
endif()
