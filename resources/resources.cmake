# The artwork the program carries, embedded at build time.
#
# Every resources/*.bmp becomes a byte array in a generated source, `corvan_resources_source`,
# that corvan_core lists with its other sources; render/resources.h finds them by name. The
# pictures are drawn by make_resources (tools/make_resources.cpp), which is run by hand when the
# artwork changes:
#     make_resources resources

file(GLOB corvan_resource_bmps CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.bmp)
set(corvan_resources_source ${CMAKE_CURRENT_BINARY_DIR}/generated/resources_data.cpp)
add_custom_command(
    OUTPUT ${corvan_resources_source}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/generated
    COMMAND ${CMAKE_COMMAND}
        -DRESOURCE_DIR=${CMAKE_CURRENT_LIST_DIR}
        -DOUTPUT=${corvan_resources_source}
        -P ${CMAKE_CURRENT_LIST_DIR}/embed_resources.cmake
    DEPENDS ${corvan_resource_bmps} ${CMAKE_CURRENT_LIST_DIR}/embed_resources.cmake
    COMMENT "Embedding the resource pictures"
    VERBATIM)
