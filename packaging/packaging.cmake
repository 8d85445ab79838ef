# What `cmake --install` and `cpack -G DEB` put on a player's machine: the programs, the desktop
# entry, the icon in the icon theme's sizes (drawn by make_icon at build time), a manual page a
# program (its --help text, turned into one at build time) and the README.

include(GNUInstallDirs)

set(corvan_programs corvan corvan2 corvanup corvan-setup corvan-replay corvan-explore stftool
    prstool)
install(TARGETS ${corvan_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/corvan.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The icon.
add_executable(make_icon ${PROJECT_SOURCE_DIR}/tools/make_icon.cpp)
target_link_libraries(make_icon PRIVATE corvan_headless)
set(corvan_icon_dir ${CMAKE_BINARY_DIR}/icons/hicolor)
set(corvan_icons)
foreach(size 16 32 48 64 128 256)
    set(icon ${corvan_icon_dir}/${size}x${size}/apps/corvan.png)
    list(APPEND corvan_icons ${icon})
    install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_command(
    OUTPUT ${corvan_icons}
    COMMAND make_icon ${corvan_icon_dir}
    DEPENDS make_icon
    COMMENT "Drawing the icon"
    VERBATIM)
add_custom_target(icons ALL DEPENDS ${corvan_icons})

# The manual pages.
set(corvan_summary_corvan "play the hotel adventure コルヴァン from its game disc")
set(corvan_summary_corvan2 "play コルヴァン without music or voices")
set(corvan_summary_corvanup "copy new game programs from the game disc into the save folder")
set(corvan_summary_corvan-setup "set コルヴァン up: record the game folder and the save folder")
set(corvan_summary_corvan-replay "play a game folder headless, for tests and for checking a story")
set(corvan_summary_corvan-explore "play every route of a game headless and report its endings and dead ends")
set(corvan_summary_stftool "build and read the game's script archives")
set(corvan_summary_prstool "turn pictures into the game's PRS form and back")
string(JOIN " " corvan_see_also ${corvan_programs})
set(corvan_man_pages)
foreach(program IN LISTS corvan_programs)
    set(page ${CMAKE_BINARY_DIR}/man/${program}.1.gz)
    list(APPEND corvan_man_pages ${page})
    add_custom_command(
        OUTPUT ${page}
        COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${program}> -DNAME=${program}
                "-DSUMMARY=${corvan_summary_${program}}" -DVERSION=${PROJECT_VERSION}
                "-DSEE_ALSO=${corvan_see_also}" -DOUTPUT=${page}
                -P ${CMAKE_CURRENT_LIST_DIR}/man_page.cmake
        DEPENDS ${program} ${CMAKE_CURRENT_LIST_DIR}/man_page.cmake
        COMMENT "Writing the manual page of ${program}"
        VERBATIM)
endforeach()
add_custom_target(man_pages ALL DEPENDS ${corvan_man_pages})
install(FILES ${corvan_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The Debian package: `cpack -G DEB` in the build folder makes corvan_VERSION_ARCH.deb. Its
# libraries' packages are worked out by dpkg-shlibdeps; the fonts, the soundfont, Qt's
# window-system plugins and Qt's Japanese translations are loaded at run time, so they are named
# here.
set(CPACK_PACKAGE_NAME corvan)
set(CPACK_PACKAGE_VENDOR "The corvan developers")
set(CPACK_PACKAGE_CONTACT "The corvan developers <corvan@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "hotel adventure game engine for the コルヴァン disc")
set(CPACK_PACKAGE_DESCRIPTION
    "A re-implementation for Linux of the run-time engine of the 1990s Japanese
hotel adventure コルヴァン. With the game's disc, or a copy of it in a folder,
it plays the whole story with its text, menus, saves, music and voices.
corvan-setup records where the disc and the saves are; stftool and prstool
build new stories.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-ipafont-gothic, fonts-ipafont-mincho, timgm6mb-soundfont, qt6-qpa-plugins, qt6-translations-l10n")
include(CPack)
