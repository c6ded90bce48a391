# SPDX-License-Identifier: GPL-3.0-or-later
# What `cmake --install` puts where, and the Debian package made from it by CPack.
include(GNUInstallDirs)

set(KDR_MAINTAINER_EMAIL "maintainers@kdr-switch-panel.org" CACHE STRING "Maintainer address of the package")
set(KDR_APPSTREAM_ID "org.kdr_switch_panel.switchpanel")
set(packaging ${PROJECT_SOURCE_DIR}/packaging)
set(generated ${PROJECT_BINARY_DIR}/packaging)

install(TARGETS kdr-switch-panel kdr-panel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
set(programs kdr-switch-panel kdr-panel)
if(UNIX)
    install(TARGETS kdr-switch-panel-simulated RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    list(APPEND programs kdr-switch-panel-simulated)
    install(FILES ${packaging}/kdr-switch-panel.desktop ${packaging}/kdr-switch-panel-simulated.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    # The .kdc file type, so that file managers know the files and open them with the tool.
    install(FILES ${packaging}/kdr-switch-panel-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
            RENAME kdr-switch-panel.xml)
    configure_file(${packaging}/kdr-switch-panel.metainfo.xml.in ${generated}/${KDR_APPSTREAM_ID}.metainfo.xml @ONLY)
    install(FILES ${generated}/${KDR_APPSTREAM_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()
# Both programs' icons in every size of the desktop icon theme (made by draw-icons).
install(DIRECTORY ${PROJECT_SOURCE_DIR}/src/ui/resources/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# Manual pages and the package's own documents, compressed as Debian keeps them
# (gzip -n: no time stamp, so the same sources give the same package).
find_program(GZIP gzip)
set(compressed "")
if(GZIP)
    foreach(program IN LISTS programs)
        list(APPEND compressed_pages ${generated}/${program}.1.gz)
        add_custom_command(OUTPUT ${generated}/${program}.1.gz
                           COMMAND ${GZIP} -9n -c ${packaging}/man/${program}.1 > ${generated}/${program}.1.gz
                           DEPENDS ${packaging}/man/${program}.1 VERBATIM)
    endforeach()
    configure_file(${packaging}/changelog.Debian ${generated}/changelog.Debian @ONLY)
    add_custom_command(OUTPUT ${generated}/changelog.Debian.gz
                       COMMAND ${GZIP} -9n -c ${generated}/changelog.Debian > ${generated}/changelog.Debian.gz
                       DEPENDS ${generated}/changelog.Debian VERBATIM)
    add_custom_target(packaging-documents ALL DEPENDS ${compressed_pages} ${generated}/changelog.Debian.gz)
    install(FILES ${compressed_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES ${generated}/changelog.Debian.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()
configure_file(${packaging}/copyright ${generated}/copyright @ONLY)
install(FILES ${generated}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

# Debian keeps no compiler notes in shipped binaries.
if(UNIX AND CMAKE_OBJCOPY)
    foreach(program IN LISTS programs)
        install(CODE "execute_process(COMMAND ${CMAKE_OBJCOPY} --remove-section=.comment --remove-section=.note
                      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\")")
    endforeach()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kdr-switch-panel)
set(CPACK_PACKAGE_VENDOR "KDR switch panel tools")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configure the 10-button RV switch panel over a serial cable")
# The synopsis comes from the summary; CPack indents each line of the rest.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "A tool for RV service technicians who configure the 10-button switch panel of
a coach. Connect a serial cable to the panel, read the ten switch assignments
out of it, change them (a module A to P with a channel 1 to 10, N/A or BL/MR),
write them back with every write verified, and keep configurations as .kdc
files that open by double-click.

The package holds the window program kdr-switch-panel, the command kdr-panel
that programs and checks many panels from a terminal at once, and
kdr-switch-panel-simulated, the window against a simulated panel for training.")
set(CPACK_PACKAGE_CONTACT "KDR switch panel tools <${KDR_MAINTAINER_EMAIL}>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${KDR_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The Qt libraries come from the binaries' own links; the fonts are what "Arial"
# and "MS Sans Serif" fall back to.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
include(CPack)
