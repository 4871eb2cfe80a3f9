# Compiles and links the way Debian builds its own packages: the flags come
# from dpkg-buildflags with every hardening feature on (stack protector,
# fortified functions, format-security, PIE, read-only relocations with
# immediate binding), or for Windows from the toolchain file. The sanitizer
# and fuzzing builds turn this off and keep flags of their own.
option(KOLMIRA_HARDENING "Compile and link with Debian's hardening flags from dpkg-buildflags" ON)
if(NOT KOLMIRA_HARDENING)
    return()
endif()

# A toolchain file for a target that dpkg-buildflags does not know (Windows)
# names that target's own hardening flags instead.
if(DEFINED KOLMIRA_HARDENING_CXXFLAGS)
    set(cppflags)
    set(cxxflags ${KOLMIRA_HARDENING_CXXFLAGS})
    set(ldflags ${KOLMIRA_HARDENING_LDFLAGS})
else()
    include(${CMAKE_CURRENT_LIST_DIR}/dpkg_buildflags.cmake)
endif()

# The last map that matches wins, so the build folder, which may lie inside
# the source folder, comes last.
list(APPEND cxxflags
    -ffile-prefix-map=${PROJECT_SOURCE_DIR}=.
    -ffile-prefix-map=${PROJECT_BINARY_DIR}=build)

# Before the build type's own flags, as in a Debian build: dpkg-buildflags'
# -O2 keeps the fortified functions working even in a Debug build.
list(JOIN cppflags " " cppflags)
list(JOIN cxxflags " " cxxflags)
list(JOIN ldflags " " ldflags)
string(APPEND CMAKE_CXX_FLAGS " ${cppflags} ${cxxflags}")
string(APPEND CMAKE_EXE_LINKER_FLAGS " ${ldflags}")
