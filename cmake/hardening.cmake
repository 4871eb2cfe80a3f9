# What a plain CMake build adds to the compiler's flags. A Debian package
# build gets its hardening flags from dpkg-buildflags through debhelper, in
# CXXFLAGS and LDFLAGS; Windows has no such tool, so the MinGW build names
# its own: the stack protector and fortified functions (both through
# libssp), since MinGW has no RELRO or PIE of ELF. The sanitizer and fuzzing
# builds turn this off and keep flags of their own.
option(KOLMIRA_HARDENING "Build for Windows with the stack protector and fortified functions" ON)
if(WIN32 AND KOLMIRA_HARDENING)
    string(APPEND CMAKE_CXX_FLAGS " -O2 -D_FORTIFY_SOURCE=2 -fstack-protector-strong")
    string(APPEND CMAKE_EXE_LINKER_FLAGS " -fstack-protector-strong")
endif()

# Neither the source folder nor the build folder ends up in the program, so
# that the same sources give the same files wherever they are built. The
# last map that matches wins, so the build folder, which may lie inside the
# source folder, comes last.
add_compile_options(
    -ffile-prefix-map=${PROJECT_SOURCE_DIR}=.
    -ffile-prefix-map=${PROJECT_BINARY_DIR}=build)
