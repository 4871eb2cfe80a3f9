# Debian's own hardening flags for this machine's architecture, from
# dpkg-buildflags with every hardening feature on; sets cppflags, cxxflags
# and ldflags for hardening.cmake.
find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT DPKG_BUILDFLAGS)
    message(FATAL_ERROR "dpkg-buildflags is missing: install dpkg-dev (tools/setup.sh does), "
                        "or configure with -DKOLMIRA_HARDENING=OFF")
endif()

function(dpkg_buildflags name out)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                ${DPKG_BUILDFLAGS} --get ${name}
        OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE
        COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    set(${out} ${flags} PARENT_SCOPE)
endfunction()

dpkg_buildflags(CPPFLAGS cppflags)
dpkg_buildflags(CXXFLAGS cxxflags)
dpkg_buildflags(LDFLAGS ldflags)

# dpkg-buildflags maps only the folder it ran in; the source folder and the
# build folder are mapped below, so that neither ends up in the binary.
list(FILTER cxxflags EXCLUDE REGEX "^-f(file|debug)-prefix-map=")

# Debian 13 adds these two to the set where the target has them; on older
# releases they are added here.
include(CheckCXXCompilerFlag)
foreach(flag -fstack-clash-protection -fcf-protection)
    string(MAKE_C_IDENTIFIER "have${flag}" have_flag)
    if(NOT "${flag}" IN_LIST cxxflags)
        check_cxx_compiler_flag(${flag} ${have_flag})
        if(${have_flag})
            list(APPEND cxxflags ${flag})
        endif()
    endif()
endforeach()

