# Installing Kolmira as a desktop program, and its Debian package.
include(GNUInstallDirs)
# Folders get the usual modes whatever the umask, as Debian expects of a package.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS kolmira RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# A stripped program also loses the compiler's .comment section, which
# nothing reads at run time, as Debian's dh_strip does.
install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
        execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment --remove-section=.note
            \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:kolmira>\"
            COMMAND_ERROR_IS_FATAL ANY)
    endif()")
install(FILES data/${KOLMIRA_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/${KOLMIRA_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The desktop entry names its icon by the application id.
install(FILES data/icons/kolmira.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${KOLMIRA_APP_ID}.svg)
install(FILES data/icons/kolmira-48.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps
        RENAME ${KOLMIRA_APP_ID}.png)

# The manual pages and the Debian changelog are installed gzip-compressed, as
# Debian asks; -n leaves out name and time, so that equal sources give equal
# files.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(compressed_docs)
file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/docs)
foreach(source kolmira.1 kolmira.sv.1 debian/changelog)
    get_filename_component(name ${source} NAME)
    set(output ${CMAKE_CURRENT_BINARY_DIR}/docs/${name}.gz)
    add_custom_command(OUTPUT ${output}
        COMMAND ${GZIP_PROGRAM} -9n -c ${CMAKE_CURRENT_SOURCE_DIR}/data/${source} > ${output}
        DEPENDS data/${source}
        VERBATIM)
    list(APPEND compressed_docs ${output})
endforeach()
add_custom_target(compressed_docs ALL DEPENDS ${compressed_docs})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/docs/kolmira.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# man shows it in place of the English one wherever the language is Swedish.
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/docs/kolmira.sv.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/sv/man1
        RENAME kolmira.1.gz)
install(FILES data/debian/copyright ${CMAKE_CURRENT_BINARY_DIR}/docs/changelog.gz
              ${KOLMIRA_GUIDE_HTML}
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kolmira)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# Debian's Maintainer field: a name and an address, at the account that the
# application id names.
set(CPACK_PACKAGE_VENDOR "Kolmira developers")
set(CPACK_PACKAGE_CONTACT "Kolmira developers <tumbrek@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "checks a household's lottery rows against a draw")
set(CPACK_PACKAGE_DESCRIPTION "Kolmira reads up to 41 lottery rows from kolmira_fam.txt in its
working folder, takes a draw of seven main and four additional numbers,
counts every row's hits and shows the prize classes as a bar chart.
The program is in Swedish.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beyond the linked libraries: the font whose metrics the fixed layout is made
# for. Qt's X11 platform plugin comes with libqt6gui6; its Wayland one is in
# qt6-wayland, without which a Wayland desktop runs Kolmira through XWayland.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, hicolor-icon-theme")
include(CPack)
