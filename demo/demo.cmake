# The demo game's pictures, music and voices.
#
# demo/pictures/A*.png are background pictures and B*.png overlay pictures (every pixel of the
# top-left pixel's colour is see-through); each becomes GRA/A/<NAME>.PRS or GRA/B/<NAME>.PRS in
# the demo game folder, ${CMAKE_BINARY_DIR}/demo. demo/pictures/EMPTY.png is the empty frame
# that stands in for every gallery picture the demo has none of; EMPTY.names lists their names.
# demo/sounds/ holds the music and the voices where the game looks for them (MIDI/NN.MID,
# wave/X/NAME.wav); they are copied as they are.
#
# Two generators make all of these files from code: make_demo_pictures (demo/make_pictures/) and
# make_demo_sounds (demo/make_sounds/). The default build leaves them out and uses the committed
# files; -DCORVAN_BUILD_DEMO_ART=ON builds them, with the test demo_art_matches, which fails
# when the committed files are not what the generators make. After changing a generator:
#     build/make_demo_pictures demo/pictures && build/make_demo_sounds demo/sounds
option(CORVAN_BUILD_DEMO_ART "Build the generators of the demo's pictures and sounds" OFF)

set(corvan_demo_source ${CMAKE_CURRENT_LIST_DIR})
set(corvan_demo_pictures)
foreach(kind A B)
    file(GLOB corvan_demo_pngs CONFIGURE_DEPENDS ${corvan_demo_source}/pictures/${kind}*.png)
    set(corvan_demo_gra ${CMAKE_BINARY_DIR}/demo/GRA/${kind})
    foreach(png IN LISTS corvan_demo_pngs)
        get_filename_component(name ${png} NAME_WE)
        set(prs ${corvan_demo_gra}/${name}.PRS)
        add_custom_command(
            OUTPUT ${prs}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${corvan_demo_gra}
            COMMAND prstool encode ${png} ${prs}
            DEPENDS prstool ${png}
            COMMENT "Encoding the demo picture GRA/${kind}/${name}.PRS"
            VERBATIM)
        list(APPEND corvan_demo_pictures ${prs})
    endforeach()
endforeach()

# The empty frame, once under every name the galleries show and the demo does not paint.
set(corvan_demo_empty ${corvan_demo_source}/pictures/EMPTY.png)
set(corvan_demo_empty_names ${corvan_demo_source}/pictures/EMPTY.names)
if(EXISTS ${corvan_demo_empty_names})
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${corvan_demo_empty_names})
    file(STRINGS ${corvan_demo_empty_names} corvan_demo_stand_ins)
    set(corvan_demo_stand_in_files)
    set(corvan_demo_stand_in_commands)
    foreach(name IN LISTS corvan_demo_stand_ins)
        set(prs ${CMAKE_BINARY_DIR}/demo/GRA/A/${name}.PRS)
        list(APPEND corvan_demo_stand_in_files ${prs})
        list(APPEND corvan_demo_stand_in_commands COMMAND prstool encode ${corvan_demo_empty} ${prs})
    endforeach()
    if(corvan_demo_stand_in_files)
        add_custom_command(
            OUTPUT ${corvan_demo_stand_in_files}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/demo/GRA/A
            ${corvan_demo_stand_in_commands}
            DEPENDS prstool ${corvan_demo_empty} ${corvan_demo_empty_names}
            COMMENT "Encoding the empty frame for the galleries' unpainted pictures"
            VERBATIM)
        list(APPEND corvan_demo_pictures ${corvan_demo_stand_in_files})
    endif()
endif()
add_custom_target(demo_pictures DEPENDS ${corvan_demo_pictures})

file(GLOB_RECURSE corvan_demo_sound_files CONFIGURE_DEPENDS
    RELATIVE ${corvan_demo_source}/sounds ${corvan_demo_source}/sounds/*)
set(corvan_demo_sounds)
foreach(file IN LISTS corvan_demo_sound_files)
    set(copy ${CMAKE_BINARY_DIR}/demo/${file})
    add_custom_command(
        OUTPUT ${copy}
        COMMAND ${CMAKE_COMMAND} -E copy ${corvan_demo_source}/sounds/${file} ${copy}
        DEPENDS ${corvan_demo_source}/sounds/${file}
        COMMENT "Copying the demo's ${file}"
        VERBATIM)
    list(APPEND corvan_demo_sounds ${copy})
endforeach()
add_custom_target(demo_sounds DEPENDS ${corvan_demo_sounds})

if(CORVAN_BUILD_DEMO_ART)
    find_package(PNG REQUIRED)
    file(GLOB corvan_demo_art_sources CONFIGURE_DEPENDS
        ${PROJECT_SOURCE_DIR}/demo/make_pictures/*.cpp ${PROJECT_SOURCE_DIR}/demo/make_pictures/kit/*.cpp)
    add_executable(make_demo_pictures ${corvan_demo_art_sources}
        ${PROJECT_SOURCE_DIR}/authoring/png_read.cpp)
    target_link_libraries(make_demo_pictures PRIVATE corvan_headless PNG::PNG)

    file(GLOB corvan_demo_sound_sources CONFIGURE_DEPENDS
        ${PROJECT_SOURCE_DIR}/demo/make_sounds/*.cpp)
    add_executable(make_demo_sounds ${corvan_demo_sound_sources})
    target_link_libraries(make_demo_sounds PRIVATE corvan_core)

    if(CORVAN_BUILD_TESTS)
        add_test(NAME demo_art_matches
            COMMAND bash ${PROJECT_SOURCE_DIR}/tests/demo/art_matches.sh
                    $<TARGET_FILE:make_demo_pictures> $<TARGET_FILE:make_demo_sounds>
                    ${corvan_demo_source})
        set_tests_properties(demo_art_matches PROPERTIES TIMEOUT 600)
    endif()
endif()
