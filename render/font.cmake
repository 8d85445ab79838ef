# The text drawer: FreeType glyphs found through fontconfig.
find_package(Freetype REQUIRED)
find_package(Fontconfig REQUIRED)
target_sources(corvan_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/font.cpp
    ${CMAKE_CURRENT_LIST_DIR}/font_faces.cpp
)
target_link_libraries(corvan_core PUBLIC Freetype::Freetype Fontconfig::Fontconfig)
