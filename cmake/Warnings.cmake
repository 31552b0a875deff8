add_library(tolvane_warnings INTERFACE)
target_compile_options(tolvane_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
