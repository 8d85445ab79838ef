# Run as a script (cmake -P): turns every RESOURCE_DIR/*.bmp into a byte array of the C++
# source OUTPUT, with a lookup by the file's name without its extension ("TEXT_BG").
cmake_minimum_required(VERSION 3.25)

file(GLOB bmps "${RESOURCE_DIR}/*.bmp")
list(SORT bmps)

# 16 bytes (32 hex digits) per line of the generated source.
string(REPEAT "[0-9a-f]" 32 line_pattern)

set(arrays "")
set(entries "")
foreach(bmp IN LISTS bmps)
    get_filename_component(name "${bmp}" NAME_WE)
    file(READ "${bmp}" hex HEX)
    if(hex STREQUAL "")
        message(WARNING "${bmp} is empty and is not embedded")
        continue()
    endif()
    string(MAKE_C_IDENTIFIER "k_${name}" identifier)
    string(REGEX REPLACE "(${line_pattern})" "\\1\n    " hex "${hex}")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(APPEND arrays "constexpr std::uint8_t ${identifier}[] = {\n    ${bytes}\n};\n\n")
    string(APPEND entries "    {\"${name}\", ${identifier}},\n")
endforeach()

set(source "// Generated from resources/*.bmp at build time. Do not edit.

#include <cstdint>
#include <span>
#include <string_view>

namespace corvan::detail {

namespace {

${arrays}struct Entry {
    std::string_view name;
    std::span<const std::uint8_t> bytes;
};

constexpr Entry kEntries[] = {
${entries}    {\"\", {}},
};

}  // namespace

std::span<const std::uint8_t> embeddedResource(std::string_view name) {
    if (name.empty()) return {};
    for (const Entry& entry : kEntries) {
        if (entry.name == name) return entry.bytes;
    }
    return {};
}

}  // namespace corvan::detail
")

file(WRITE "${OUTPUT}" "${source}")
