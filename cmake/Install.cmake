# What `cmake --install` puts where: the program, its user's guide in the program's data folder
# (the About window finds it there relative to the program), and on freedesktop systems the menu
# entry, the icons, the AppStream metainfo and the manual page.
install(TARGETS inpatient-billing RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/resources/使用说明.htm DESTINATION ${PROGRAM_DATA_DIR})

if(UNIX AND NOT APPLE)
    # One name ties the menu entry, its icon and the metainfo together.
    set(desktop_id example._491mx.inpatient_billing)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/${desktop_id}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/${desktop_id}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    foreach(size IN ITEMS 16 22 24 32 48 64 128)
        install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${desktop_id}.png)
    endforeach()

    configure_file(${PROJECT_SOURCE_DIR}/resources/inpatient-billing.1.in
        ${PROJECT_BINARY_DIR}/inpatient-billing.1 @ONLY)
    install(FILES ${PROJECT_BINARY_DIR}/inpatient-billing.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
