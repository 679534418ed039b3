# Installation on Linux and the Debian package "dorodure".
#
# Layout under the prefix (/usr in the package):
#   bin/dorodure                 the launcher: makes the user's data folder and
#                                starts the program in it
#   bin/dorodure-cli             the command-line tool
#   lib/dorodure/dorodure        the desktop program
#   lib/dorodure/*               the delivered files the launcher copies into
#                                every data folder (help documents, logos, help
#                                page, serial-setup.sh, English.lng)
#   share/applications, share/metainfo, share/icons/hicolor: desktop integration
#   lib/udev/rules.d             keeps ModemManager off the station's adapter
#
# Everything here belongs to the install component "dorodure", and the package
# holds only that component.
set(DORODURE_APP_ID "example.dorodure.Uploader")
set(_dorodure_pkg "${PROJECT_SOURCE_DIR}/packaging")
set(_dorodure_lib "lib/dorodure")

if(TARGET dorodure)
    install(TARGETS dorodure RUNTIME DESTINATION ${_dorodure_lib} COMPONENT dorodure)
    install(DIRECTORY "${PROJECT_SOURCE_DIR}/data/delivered/" DESTINATION ${_dorodure_lib}
        USE_SOURCE_PERMISSIONS COMPONENT dorodure)
    install(FILES "${PROJECT_SOURCE_DIR}/data/English.lng" DESTINATION ${_dorodure_lib}
        COMPONENT dorodure)
    install(PROGRAMS "${_dorodure_pkg}/dorodure-launcher.sh" DESTINATION bin RENAME dorodure
        COMPONENT dorodure)
    install(FILES "${_dorodure_pkg}/${DORODURE_APP_ID}.desktop" DESTINATION share/applications
        COMPONENT dorodure)
    install(FILES "${_dorodure_pkg}/${DORODURE_APP_ID}.metainfo.xml" DESTINATION share/metainfo
        COMPONENT dorodure)
    install(DIRECTORY "${_dorodure_pkg}/icons/hicolor/" DESTINATION share/icons/hicolor
        COMPONENT dorodure)
endif()
if(TARGET dorodure-cli)
    install(TARGETS dorodure-cli RUNTIME DESTINATION bin COMPONENT dorodure)
endif()
install(FILES "${_dorodure_pkg}/60-dorodure-station.rules" DESTINATION lib/udev/rules.d
    COMPONENT dorodure)
install(FILES "${PROJECT_SOURCE_DIR}/docs/user-guide.md" DESTINATION share/doc/dorodure
    COMPONENT dorodure)

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "dorodure")
set(CPACK_PACKAGE_VENDOR "Dorodure")
set(CPACK_PACKAGE_CONTACT "Dorodure support <support@dorodure.example>")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Guard-tour patrol uploader: batons, sites and reports")
set(CPACK_PACKAGE_DESCRIPTION
    "The office program of the Dorodure guard-tour patrol system. It finds the upload
station on a serial port (or a network serial server), uploads every baton placed
on it, files the clockings under their sites and writes the download reports as
text, CSV and PDF; it makes clocking lists and shift overviews from the stored
data. Each user's data lives in ~/Dorodure (changeable).")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL dorodure)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_DEBIAN_PACKAGE_NAME "dorodure")
set(CPACK_DEBIAN_FILE_NAME "DEB-DEFAULT")
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION "misc")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "sudo")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    "${_dorodure_pkg}/debian/postinst;${_dorodure_pkg}/debian/postrm")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
