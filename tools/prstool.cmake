# prstool, the picture tool for game authors.
find_package(PNG REQUIRED)
add_executable(prstool
    ${CMAKE_CURRENT_SOURCE_DIR}/tools/prstool.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/tools/png_read.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/headless/png_writer.cpp)
target_link_libraries(prstool PRIVATE corvan_core corvan_stf PNG::PNG)
