# The demo game's pictures.
#
# demo/pictures/A*.png are background pictures and B*.png overlay pictures (their top-left
# pixel's colour is see-through). Each becomes GRA/A/<NAME>.PRS or GRA/B/<NAME>.PRS in the demo
# game folder, ${CMAKE_BINARY_DIR}/demo. The PNG files are drawn by make_demo_pictures
# (tools/make_demo_pictures.cpp), which is run by hand when the pictures change:
#     make_demo_pictures demo/pictures

find_package(PNG REQUIRED)
add_executable(make_demo_pictures ${CMAKE_CURRENT_LIST_DIR}/../tools/make_demo_pictures.cpp)
target_link_libraries(make_demo_pictures PRIVATE corvan_headless corvan_png_read)

set(corvan_demo_pictures)
foreach(kind A B)
    file(GLOB corvan_demo_pngs CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/pictures/${kind}*.png)
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
add_custom_target(demo_pictures DEPENDS ${corvan_demo_pictures})

# The demo game's music and voice, written by make_demo_sounds from the notes and tones in its
# source at build time.
add_executable(make_demo_sounds ${CMAKE_CURRENT_LIST_DIR}/../tools/make_demo_sounds.cpp)
target_link_libraries(make_demo_sounds PRIVATE corvan_core)
set(corvan_demo_sounds ${CMAKE_BINARY_DIR}/demo/MIDI/01.MID ${CMAKE_BINARY_DIR}/demo/wave/1/10001.wav)
add_custom_command(
    OUTPUT ${corvan_demo_sounds}
    COMMAND make_demo_sounds ${CMAKE_BINARY_DIR}/demo
    DEPENDS make_demo_sounds
    COMMENT "Writing the demo's music and voice"
    VERBATIM)
add_custom_target(demo_sounds DEPENDS ${corvan_demo_sounds})
