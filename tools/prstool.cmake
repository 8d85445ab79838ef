# prstool, the picture tool for game authors. Its PNG writer is the headless player's; its PNG
# reader is a library of its own, which the demo's picture program shares.
find_package(PNG REQUIRED)
add_library(corvan_png_read STATIC ${CMAKE_CURRENT_SOURCE_DIR}/authoring/png_read.cpp)
target_link_libraries(corvan_png_read PUBLIC corvan_core PRIVATE PNG::PNG)
add_executable(prstool ${CMAKE_CURRENT_SOURCE_DIR}/tools/prstool.cpp)
target_link_libraries(prstool PRIVATE corvan_headless corvan_png_read corvan_stf)
