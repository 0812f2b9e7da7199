# Installation on Linux and the Debian package: the two programs, the desktop entry, the icon in the
# hicolor sizes, the AppStream metadata, the manual pages of both programs and the documents folder.
include(GNUInstallDirs)

set(TRELVANE_APP_ID org.trelvane.Trelvane)
set(TRELVANE_RELEASE_DATE 2026-12-08)

install(TARGETS trelvane trelvane-csv RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/${TRELVANE_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

configure_file(${CMAKE_CURRENT_LIST_DIR}/${TRELVANE_APP_ID}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/packaging/${TRELVANE_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/${TRELVANE_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The manual pages, with the project's version in their title lines, go in compressed, as Debian's
# policy wants them.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(TRELVANE_MAN_PAGES)
foreach(page trelvane trelvane-csv)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/${page}.1.in ${CMAKE_BINARY_DIR}/packaging/${page}.1 @ONLY)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/${page}.1.gz
                       COMMAND ${GZIP_PROGRAM} -9 -n -c ${CMAKE_BINARY_DIR}/packaging/${page}.1
                               > ${CMAKE_BINARY_DIR}/packaging/${page}.1.gz
                       DEPENDS ${CMAKE_BINARY_DIR}/packaging/${page}.1 VERBATIM)
    list(APPEND TRELVANE_MAN_PAGES ${CMAKE_BINARY_DIR}/packaging/${page}.1.gz)
endforeach()
install(FILES ${TRELVANE_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The package's own folder of documents: the README with the pictures it shows, the example reports
# it names, and the copyright file Debian asks of every package.
set(TRELVANE_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/trelvane)
install(FILES README.md ${CMAKE_CURRENT_LIST_DIR}/copyright DESTINATION ${TRELVANE_DOC_DIR})
install(DIRECTORY docs/screenshots DESTINATION ${TRELVANE_DOC_DIR}/docs)
install(DIRECTORY examples DESTINATION ${TRELVANE_DOC_DIR})

# The icons are drawn at build time by the code that draws the window's icon.
add_executable(trelvane_icons ${CMAKE_CURRENT_LIST_DIR}/icon_tool.cpp)
target_link_libraries(trelvane_icons PRIVATE trelvane_gui)
set(TRELVANE_ICON_SIZES 16 24 32 48 64 128 256)
set(TRELVANE_ICON_FILES)
foreach(size ${TRELVANE_ICON_SIZES})
    list(APPEND TRELVANE_ICON_FILES ${CMAKE_BINARY_DIR}/icons/${size}x${size}/apps/${TRELVANE_APP_ID}.png)
endforeach()
# A sanitizer build draws them too; Qt's allocations at exit are not the icons' business.
add_custom_command(OUTPUT ${TRELVANE_ICON_FILES}
                   COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
                           $<TARGET_FILE:trelvane_icons> ${CMAKE_BINARY_DIR}/icons ${TRELVANE_APP_ID}
                           ${TRELVANE_ICON_SIZES}
                   DEPENDS trelvane_icons VERBATIM)
add_custom_target(trelvane_install_files ALL
                  DEPENDS ${TRELVANE_ICON_FILES} ${TRELVANE_MAN_PAGES})
install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

# The Debian package: trelvane_<version>_<architecture>.deb. Its dependencies are read from the shared
# libraries the installed programs link, so they follow the build instead of a list kept by hand.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME trelvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# The project is the contact: it has no published address yet, and an invented one would mislead.
set(CPACK_PACKAGE_CONTACT "Trelvane developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "SQLIO and DiskSpd disk benchmark reports as tables and charts")
set(CPACK_PACKAGE_DESCRIPTION
    "Trelvane reads the text reports of the SQLIO and DiskSpd disk benchmarks into a table, charts six measures of\n"
    "them with filters and sort buttons, lists the machine's disk partitions beside the SQL Server\n"
    "recommendations and exports both tables as CSV. trelvane-csv writes the same CSV without a window.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_INSTALL_DIRECTORY trelvane)
