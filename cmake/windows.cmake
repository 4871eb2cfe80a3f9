# Kolmira for Windows: a GUI program (no console window) with its icon and
# version information, installed into one folder with everything it needs
# beside it, as Windows looks for it: Qt's DLLs, the platform plugin and the
# style, MinGW's runtime and the licences of all of it. tools/windows/pack.sh
# makes the zip and the setup program from that folder.
set_target_properties(kolmira PROPERTIES WIN32_EXECUTABLE ON)
set(KOLMIRA_ICON ${CMAKE_CURRENT_SOURCE_DIR}/data/windows/kolmira.ico)
configure_file(data/windows/kolmira.rc.in generated/kolmira.rc @ONLY)
target_sources(kolmira PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/generated/kolmira.rc)

# Where the DLLs that Kolmira may import come from: MinGW's C++ runtime and
# threads library, as the compiler finds them, and Qt. Wine finds them there
# for the tests.
foreach(dll libstdc++-6.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    if(NOT IS_ABSOLUTE "${path}")
        message(FATAL_ERROR "The compiler does not find MinGW's ${dll}")
    endif()
    get_filename_component(folder "${path}" DIRECTORY)
    list(APPEND dll_folders "${folder}")
endforeach()
get_filename_component(qt_prefix "${Qt6_DIR}/../../.." ABSOLUTE)
list(APPEND dll_folders "${qt_prefix}/bin")
set(KOLMIRA_DLL_FOLDERS "${dll_folders}" CACHE INTERNAL "")

# The program, the platform plugin and the style, and every DLL they import
# that is not Windows' own, read from their PE imports at install time. An
# import found in none of those folders stops the installation.
# objdump translates its "DLL Name:" lines, which CMake reads, and in another
# language it would find no import at all.
install(CODE [[set(ENV{LC_ALL} C)]])
set(CMAKE_GET_RUNTIME_DEPENDENCIES_PLATFORM windows+pe)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL objdump)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_COMMAND ${CMAKE_OBJDUMP})
install(TARGETS kolmira RUNTIME_DEPENDENCY_SET kolmira_dlls RUNTIME DESTINATION .)
install(IMPORTED_RUNTIME_ARTIFACTS Qt6::QWindowsIntegrationPlugin
        RUNTIME_DEPENDENCY_SET kolmira_dlls LIBRARY DESTINATION platforms)
# Qt 6.7 put the windowsvista style into a plugin of Windows' modern styles.
foreach(style QWindowsVistaStylePlugin QModernWindowsStylePlugin)
    if(TARGET Qt6::${style})
        install(IMPORTED_RUNTIME_ARTIFACTS Qt6::${style}
                RUNTIME_DEPENDENCY_SET kolmira_dlls LIBRARY DESTINATION styles)
    endif()
endforeach()
# Windows' own DLLs, which every Windows has (names are matched in lower case).
set(windows_dlls advapi32 authz bcrypt comctl32 comdlg32 crypt32 d2d1 d3d9 d3d11 d3d12 dcomp dwmapi
    dwrite dxgi gdi32 imm32 kernel32 mpr msvcrt netapi32 ntdll ole32 oleacc oleaut32 propsys
    rpcrt4 setupapi shcore shell32 shlwapi uiautomationcore user32 userenv usp10 uxtheme version
    winmm ws2_32 wtsapi32)
list(JOIN windows_dlls "|" windows_dlls)
# CMake matches the imports in lower case, which finds no mixed-case file on
# a case-sensitive disk: Qt's own DLLs are installed by their targets, and
# any other Qt DLL imported stops the installation as unplaceable.
install(IMPORTED_RUNTIME_ARTIFACTS Qt6::Core Qt6::Gui Qt6::Widgets RUNTIME DESTINATION .)
install(RUNTIME_DEPENDENCY_SET kolmira_dlls DESTINATION . DIRECTORIES ${dll_folders}
        PRE_EXCLUDE_REGEXES "^api-ms-" "^ext-ms-" "^(${windows_dlls})\\.dll$" "^qt6(core|gui|widgets)\\.dll$")

# The licences: Kolmira's own, and those of what is shipped beside it. Qt's
# build (tools/windows/qt.sh) keeps its licence texts and Debian's version of
# its source; the MinGW runtime's come from Debian's packages.
if(NOT EXISTS ${qt_prefix}/licenses/debian-version)
    message(FATAL_ERROR "${qt_prefix} is not a Qt built by tools/windows/qt.sh: its licences are missing")
endif()
file(STRINGS ${qt_prefix}/licenses/debian-version QT_DEBIAN_VERSION LIMIT_COUNT 1)
function(debian_package_version package out)
    execute_process(COMMAND dpkg-query -W -f=\${Version} ${package}
                    OUTPUT_VARIABLE version COMMAND_ERROR_IS_FATAL ANY)
    set(${out} ${version} PARENT_SCOPE)
endfunction()
debian_package_version(gcc-mingw-w64-x86-64-posix-runtime MINGW_GCC_VERSION)
debian_package_version(mingw-w64-common MINGW_W64_VERSION)
configure_file(data/windows/THIRD-PARTY.txt.in generated/THIRD-PARTY.txt @ONLY NEWLINE_STYLE CRLF)

install(FILES ${CMAKE_CURRENT_BINARY_DIR}/generated/THIRD-PARTY.txt ${KOLMIRA_GUIDE_HTML}
        DESTINATION .)
install(FILES LICENSE DESTINATION . RENAME LICENSE.txt)
install(DIRECTORY ${qt_prefix}/licenses/ DESTINATION licenses/qt
        FILES_MATCHING PATTERN "*.txt")
install(FILES ${qt_prefix}/licenses/debian-copyright
        DESTINATION licenses/qt RENAME qt6-base-copyright.txt)
install(FILES /usr/share/doc/gcc-mingw-w64-base/copyright
        DESTINATION licenses/mingw-w64 RENAME gcc-runtime-copyright.txt)
install(FILES /usr/share/doc/mingw-w64-common/copyright
        DESTINATION licenses/mingw-w64 RENAME mingw-w64-copyright.txt)

# The example row file, with Windows' line ends, which the setup program copies
# into Documents where no row file lies (data/windows/kolmira.nsi).
configure_file(examples/kolmira_fam.txt generated/kolmira_fam.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/generated/kolmira_fam.txt DESTINATION exempel)

# As the installation ends: with --strip, the DLLs that were not built here
# are stripped too (libstdc++ alone is 24 MB as it comes); then the setup
# program's lists are written from what was installed, for
# data/windows/kolmira.nsi: the files to install (nsis/files.nsh) and to
# remove, then every folder, the deepest first (nsis/removed_files.nsh); and
# the installed files, sorted (nsis/files.txt).
install(CODE "set(strip \"${CMAKE_STRIP}\")\nset(nsis \"${CMAKE_CURRENT_BINARY_DIR}/nsis\")")
install(CODE [[
    set(files "")
    foreach(path IN LISTS CMAKE_INSTALL_MANIFEST_FILES)
        file(RELATIVE_PATH file "${CMAKE_INSTALL_PREFIX}" "${path}")
        list(APPEND files "${file}")
    endforeach()
    list(SORT files)
    set(installed "")
    set(removed "")
    set(folders "")
    set(current "-")
    foreach(file IN LISTS files)
        set(path "${CMAKE_INSTALL_PREFIX}/${file}")
        if(CMAKE_INSTALL_DO_STRIP AND file MATCHES "\\.dll$")
            execute_process(COMMAND ${strip} --strip-unneeded "${path}" COMMAND_ERROR_IS_FATAL ANY)
        endif()
        get_filename_component(folder "${file}" DIRECTORY)
        if(NOT folder STREQUAL current)
            string(REPLACE "/" "\\" target "$INSTDIR/${folder}")
            string(REGEX REPLACE "\\\\$" "" target "${target}")
            string(APPEND installed "SetOutPath \"${target}\"\n")
            set(current "${folder}")
        endif()
        string(APPEND installed "File \"${path}\"\n")
        string(REPLACE "/" "\\" target "$INSTDIR/${file}")
        string(APPEND removed "Delete \"${target}\"\n")
        while(NOT folder STREQUAL "")
            list(APPEND folders "${folder}")
            get_filename_component(folder "${folder}" DIRECTORY)
        endwhile()
    endforeach()
    list(REMOVE_DUPLICATES folders)
    list(SORT folders ORDER DESCENDING)
    foreach(folder IN LISTS folders)
        string(REPLACE "/" "\\" target "$INSTDIR/${folder}")
        string(APPEND removed "RMDir \"${target}\"\n")
    endforeach()
    file(WRITE "${nsis}/files.nsh" "${installed}")
    file(WRITE "${nsis}/removed_files.nsh" "${removed}")
    list(JOIN files "\n" listed)
    file(WRITE "${nsis}/files.txt" "${listed}\n")
]])
