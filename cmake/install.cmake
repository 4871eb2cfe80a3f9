# Installing Kolmira as a desktop program: by `make install`, or into the
# Debian package by debhelper (debian/), which adds the changelog and the
# copyright file, compresses and strips.
include(GNUInstallDirs)
# Folders get the usual modes whatever the installer's umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS kolmira RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
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

# man reads the pages as they are, with the version filled in; a package
# compresses them (dh_compress). man shows the Swedish page in place of the
# English one wherever the language is Swedish.
foreach(page kolmira kolmira.sv)
    configure_file(data/${page}.1 man/${page}.1 @ONLY)
endforeach()
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/man/kolmira.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/man/kolmira.sv.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/sv/man1 RENAME kolmira.1)
install(FILES ${KOLMIRA_GUIDE_HTML} DESTINATION ${CMAKE_INSTALL_DOCDIR})
