# What `cmake --install` puts on a player's machine, and what the Debian packages (debian/) take
# from it: the game's programs with their manuals in section 6, the authors' tools with theirs in
# section 1, the desktop entry, the icon in the icon theme's sizes (drawn by make_icon at build
# time), the AppStream metadata and the player's guide.
#
# The rules name targets, not source folders, so a program's sources may move freely.

include(GNUInstallDirs)

# Games live in their own folder below the prefix (/usr/games, /usr/local/games), which Debian
# puts on every user's PATH. A home installation (--prefix ~/.local) sets this to bin.
set(CORVAN_INSTALL_GAMESDIR games CACHE STRING
    "Folder below the prefix for the game's programs (games, or bin for a home installation)")

# The game and its own helpers: the player's package.
set(corvan_game_programs corvan corvan2 corvan-setup corvanup)
# The authors' tools: a package of their own.
set(corvan_tool_programs stftool prstool corvan-explore corvan-replay)

install(TARGETS ${corvan_game_programs} RUNTIME DESTINATION ${CORVAN_INSTALL_GAMESDIR})
install(TARGETS ${corvan_tool_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The manuals, hand-written in doc/man/; the build only fills in the version. corvan2 shares
# corvan's page.
set(corvan_manuals
    corvan.6 corvan2.6 corvan-setup.6 corvanup.6
    stftool.1 prstool.1 corvan-explore.1 corvan-replay.1)
foreach(manual IN LISTS corvan_manuals)
    configure_file(${PROJECT_SOURCE_DIR}/doc/man/${manual} ${CMAKE_BINARY_DIR}/man/${manual} @ONLY)
    string(REGEX MATCH "[0-9]$" section ${manual})
    install(FILES ${CMAKE_BINARY_DIR}/man/${manual}
            DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
endforeach()

install(FILES ${PROJECT_SOURCE_DIR}/doc/players-guide.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/corvan.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

# The AppStream metadata: how software centres list the game.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/org.example.corvan.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

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
