# Installing Zorvi and packaging it for Debian.
#
# Zorvi keeps its data beside its executable, so the installed tree is a
# read-only master copy: `zorvi-new-shop DIR` copies the program, its
# companions and help texts into a shop's own directory (and the demo shop's
# data when that holds none yet), and the `zorvi` command starts a shop from
# there. `zorvi-backup` stays in bin/ and is given the shop's directory. Directories keep to 8 characters a component (program, share, bin,
# examples) because a longer one switches docket printing off.

# A build directory configured before Zorvi chose its own default still has
# CMake's /usr/local; it moves to /opt/zorvi once, like a new one.
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT
   OR (NOT DEFINED CACHE{ZORVI_PREFIX_CHOSEN} AND CMAKE_INSTALL_PREFIX STREQUAL "/usr/local"))
    set(CMAKE_INSTALL_PREFIX "/opt/zorvi" CACHE PATH "Where Zorvi is installed" FORCE)
endif()
set(ZORVI_PREFIX_CHOSEN ON CACHE INTERNAL "")
# The menu entry, the icon and the links that put the commands on the PATH go
# outside the prefix; empty leaves them out (for an install without root).
set(ZORVI_SYSTEM_PREFIX "/usr" CACHE PATH
    "Where the menu entry, the icon and the command links are installed; empty for none")

set(ZORVI_VERSION "5.1.0")
set(ZORVI_PACKAGING ${CMAKE_SOURCE_DIR}/packaging)
set(ZORVI_STAGE ${CMAKE_BINARY_DIR}/packaging)

install(TARGETS zorvi slipjet devcheck RUNTIME DESTINATION program)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/help/ DESTINATION program
        FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

# The demo shop, with a printer that writes into a file so it can be tried
# without one.
file(WRITE ${ZORVI_STAGE}/Printer.dat "file:printer.out\r\n")
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/demo/ DESTINATION share/examples)
install(FILES ${ZORVI_STAGE}/Printer.dat DESTINATION share/examples)
# A new shop starts empty, printing into a file until its printer is set up.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/newshop/ DESTINATION share/newshop)
install(FILES ${ZORVI_STAGE}/Printer.dat DESTINATION share/newshop)

install(PROGRAMS ${ZORVI_PACKAGING}/zorvi ${ZORVI_PACKAGING}/zorvi-new-shop DESTINATION bin)
# The command-line programs work on a shop from outside it.
install(TARGETS zorvi-verify zorvi-backup zorvi-export zorvi-printer zorvi-collect zorvi-script
        RUNTIME DESTINATION bin)

if(ZORVI_SYSTEM_PREFIX)
    set(ZORVI_LAUNCHER "${CMAKE_INSTALL_PREFIX}/bin/zorvi")
    configure_file(${ZORVI_PACKAGING}/zorvi.desktop.in ${ZORVI_STAGE}/zorvi.desktop @ONLY)
    install(FILES ${ZORVI_STAGE}/zorvi.desktop DESTINATION ${ZORVI_SYSTEM_PREFIX}/share/applications)
    install(FILES ${ZORVI_PACKAGING}/zorvi.svg
            DESTINATION ${ZORVI_SYSTEM_PREFIX}/share/icons/hicolor/scalable/apps)
    file(MAKE_DIRECTORY ${ZORVI_STAGE}/links)
    foreach(command zorvi zorvi-new-shop zorvi-verify zorvi-backup zorvi-export zorvi-printer zorvi-collect
                    zorvi-script)
        file(CREATE_LINK ${CMAKE_INSTALL_PREFIX}/bin/${command} ${ZORVI_STAGE}/links/${command}
             SYMBOLIC)
        install(FILES ${ZORVI_STAGE}/links/${command} DESTINATION ${ZORVI_SYSTEM_PREFIX}/bin)
    endforeach()
endif()

set(CPACK_PACKAGE_NAME "zorvi")
set(CPACK_PACKAGE_VERSION ${ZORVI_VERSION})
set(CPACK_PACKAGE_VENDOR "Zorvi developers")
set(CPACK_PACKAGE_CONTACT "Zorvi developers <zorvi@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Point-of-sale and day accounting for a small shop")
set(CPACK_PACKAGE_DESCRIPTION
    "Keyboard-driven sales, expenses, price list, inventory, dockets, cash drawer,\n"
    "customer display and the day's close, with every datum in plain text files.\n"
    "Set up a shop with: zorvi-new-shop ~/shop")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR "DEB")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "misc")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# The screens need the offscreen-capable platform plugins and a sans serif
# font that stands in for Arial; the rest is what the executables link (the
# X libraries measure the display before Qt starts).
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6, libstdc++6, libgcc-s1, libsodium23, libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6printsupport6 (>= 6.4), libqt6charts6 (>= 6.4), libxcb1, libxcb-randr0, qt6-qpa-plugins, libarchive13 (>= 3.6), fonts-liberation | fonts-liberation2, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "cups-client")
include(CPack)
