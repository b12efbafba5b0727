# Installs Horlan where a Debian desktop finds it, and builds its package (cpack -G DEB).
include(GNUInstallDirs)

set(HORLAN_APP_ID example.vantorel.Horlan)
set(HORLAN_RESOURCES ${PROJECT_SOURCE_DIR}/resources)
set(HORLAN_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/horlan)

install(TARGETS horlan RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${HORLAN_RESOURCES}/${HORLAN_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${HORLAN_RESOURCES}/${HORLAN_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${HORLAN_RESOURCES}/horlan.svg RENAME ${HORLAN_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${HORLAN_DOCDIR})

# Menus that want pixels get them rendered from the window icon's own drawing.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(generated)
foreach(size 16 32 48 128)
    set(png ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}/${HORLAN_APP_ID}.png)
    add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}
        COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${HORLAN_RESOURCES}/horlan.svg
        DEPENDS ${HORLAN_RESOURCES}/horlan.svg VERBATIM)
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    list(APPEND generated ${png})
endforeach()

# Debian ships the manual page and the changelog compressed, without a time stamp inside.
foreach(source resources/horlan.1 packaging/changelog)
    get_filename_component(name ${source} NAME)
    set(gz ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz)
    add_custom_command(OUTPUT ${gz}
        COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/${source} > ${gz}
        DEPENDS ${PROJECT_SOURCE_DIR}/${source})
    list(APPEND generated ${gz})
endforeach()
add_custom_target(horlan_install_files ALL DEPENDS ${generated})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/horlan.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz DESTINATION ${HORLAN_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME horlan)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_TWEAK})
set(CPACK_PACKAGE_CONTACT "Vantorel software <packages@vantorel.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "set the computer's clock from an Internet time server")
set(CPACK_PACKAGE_DESCRIPTION [[Horlan is a small desktop program that asks a time server for the current
time over the Time Protocol (RFC 868, TCP port 37), corrects the answer by
half the round trip and sets the system clock. It keeps an editable and
downloadable list of time servers and shows the host name, IP address,
network activity and the state of the Internet connection.]])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://vantorel.example/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Added to what dpkg-shlibdeps finds: Qt loads the plugin that draws the SVG icon at run time.
set(CPACK_DEBIAN_PACKAGE_DEPENDS libqt6svg6)
# systemd brings timedated, which sets the clock without running Horlan as root.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS systemd)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
