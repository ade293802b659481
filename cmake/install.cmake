# What `cmake --install` puts under the prefix and how `cpack -G DEB` packs
# it. The programs find their own files relative to bin/ (files/program_paths),
# so the layout below is fixed, not taken from GNUInstallDirs.

set(QX40_HOMEPAGE "https://qx40.example.org" CACHE STRING
    "Where QX40 Scope is published: the metainfo's homepage, and its screenshot at HOMEPAGE/screenshot.png")
set(QX40_PACKAGE_CONTACT "QX40 Scope developers <qx40@example.org>" CACHE STRING
    "The Debian package's maintainer")

install(TARGETS qx40cli RUNTIME DESTINATION bin)
install(FILES docs/qx40cli.1 DESTINATION share/man/man1)
install(FILES packaging/fpga_folder_readme.txt DESTINATION share/qx40 RENAME README)
install(FILES packaging/70-qx40.rules DESTINATION lib/udev/rules.d)

if(QX40_WITH_QT)
    install(TARGETS qx40 RUNTIME DESTINATION bin)
    install(FILES docs/qx40.1 DESTINATION share/man/man1)
    install(DIRECTORY docs/guide/ DESTINATION share/doc/qx40)
    install(FILES packaging/org.qx40.Scope.desktop DESTINATION share/applications)
    install(FILES packaging/qx40-mime.xml DESTINATION share/mime/packages RENAME qx40.xml)
    configure_file(packaging/org.qx40.Scope.metainfo.xml.in
                   ${CMAKE_CURRENT_BINARY_DIR}/org.qx40.Scope.metainfo.xml @ONLY)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/org.qx40.Scope.metainfo.xml DESTINATION share/metainfo)
    install(FILES packaging/qx40.svg DESTINATION share/icons/hicolor/scalable/apps)
    foreach(size IN LISTS QX40_ICON_SIZES)
        install(FILES ${QX40_ICON_DIR}/${size}/qx40.png DESTINATION share/icons/hicolor/${size}x${size}/apps)
    endforeach()
endif()

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qx40)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${QX40_PACKAGE_CONTACT})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "control and display program for the QX40 USB oscilloscopes")
# CPack puts the summary first and formats the lines below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "QX40 Scope works the QX4001A, QX4002 and QX4003 USB oscilloscopes: two
8-bit analog channels up to 100 MHz, two logic channels, a signal
generator, a frequency meter and an FFT spectrum analyser. Without an
instrument attached it runs on a built-in simulated instrument.

The package holds the desktop program qx40, the command-line tool qx40cli
and a udev rule that lets the user at the desk open the instrument.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${QX40_HOMEPAGE})
# The linked libraries' packages come from dpkg-shlibdeps; listed here is
# only what the programs load or use without linking it: Qt's platform
# plugins and the font the screen is drawn with.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation")
# xdg-open shows the help page; the MIME database makes the file types known;
# Qt's translations put Qt's own buttons (Yes, No, Open) in Russian.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, shared-mime-info, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${CMAKE_CURRENT_SOURCE_DIR}/packaging/debian/postinst ${CMAKE_CURRENT_SOURCE_DIR}/packaging/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
