#include "render/resources.h"

#include <string>

#include "render/bmp.h"

namespace corvan {

namespace detail {
// Defined in the source generated from the BMP files at build time.
std::span<const std::uint8_t> embeddedResource(std::string_view name);
}  // namespace detail

std::span<const std::uint8_t> resourceBytes(std::string_view name) {
    return detail::embeddedResource(name);
}

Bitmap loadResource(std::string_view name) {
    const std::span<const std::uint8_t> bytes = resourceBytes(name);
    if (bytes.empty()) return {};
    std::string error;
    std::optional<Bitmap> bitmap = readBmp(bytes, error);
    return bitmap ? std::move(*bitmap) : Bitmap{};
}

}  // namespace corvan
