#pragma once

// Decoded pictures kept from one game to the next, by file path. A tool that plays the same game
// from the start hundreds of times (the route explorer) decodes each picture once; the game
// itself runs without one and reads every picture afresh, as the original did.

#include <string>
#include <unordered_map>

#include "render/bitmap.h"

namespace corvan {

class PictureCache {
public:
    // The picture decoded from `path`, or nullptr when it was never kept.
    const Bitmap* find(const std::string& path) const {
        const auto it = pictures_.find(path);
        return it == pictures_.end() ? nullptr : &it->second;
    }
    void keep(const std::string& path, const Bitmap& picture) { pictures_[path] = picture; }

private:
    std::unordered_map<std::string, Bitmap> pictures_;
};

}  // namespace corvan
