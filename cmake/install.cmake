# Installing Kolmira as a desktop program, and its Debian package.
include(GNUInstallDirs)

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

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kolmira)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Tumbrek)
set(CPACK_PACKAGE_CONTACT Tumbrek)
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
# Beyond the linked libraries: Qt's X11/Wayland platform plugins to open a
# window at all, and the font whose metrics the fixed layout is made for.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "hicolor-icon-theme")
include(CPack)
