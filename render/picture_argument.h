#pragma once

// The picture argument of `gra`, `grb` and the `gra` tag: a name of at most 8 characters that
// ends at a NUL, ']' or ',', then after a comma the transition number (1 without one). The
// name's first letter tells the kind: A background, B overlay, S solid fill.

#include <cstdint>
#include <string>
#include <string_view>

namespace corvan {

struct PictureArgument {
    std::string name;
    char kind = 0;  // 'A', 'B', 'S' (folded to capitals) or anything else
    std::int32_t number = 0;
    std::int32_t transition = 1;
};

PictureArgument parsePictureArgument(std::string_view argument);

// The fill colour (0xBBGGRR) of an S name: three hexadecimal digits for blue, green and red,
// each digit d giving d x 16; any other character counts as 0.
std::uint32_t solidColour(const std::string& name);

// The file of an A or B picture, relative to the game folder: "GRA/A/A511.PRS" for a511,
// "GRA/B/b12.PRS" for b12.
std::string picturePath(const PictureArgument& picture);

}  // namespace corvan
