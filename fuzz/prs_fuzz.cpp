// Fuzz target: any bytes as a PRS picture. Whatever decodes must come out at exactly the size
// its header gives, and the encoder must give those bytes back through the decoder.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "render/prs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error;
    const auto decoded = corvan::decodePrsBytes(std::span(data, size), error);
    if (!decoded) {
        if (error.empty()) abort();
        return 0;
    }
    if (size < corvan::kPrsHeaderSize) abort();
    const std::size_t declared = data[2] | data[3] << 8 | data[4] << 16;
    if (decoded->size() != declared) abort();
    const auto again = corvan::decodePrsBytes(corvan::encodePrsBytes(*decoded), error);
    if (!again || *again != *decoded) abort();
    return 0;
}
