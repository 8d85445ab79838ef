// Fuzz target: any bytes as a PRS picture. Whatever decodes must come out at exactly the size
// its header gives, and the encoder must give those bytes back through the decoder. The decoder,
// which meets players' files, runs on every size; the encoder, an author's tool whose search
// over a whole 640x480 picture takes a tenth of a second, only on pictures of up to 64 KiB, so
// that whole pictures among the seeds do not take most of the fuzzer's time.

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
    constexpr std::size_t kLargestRoundTrip = 64 * 1024;
    if (decoded->size() > kLargestRoundTrip) return 0;
    const auto again = corvan::decodePrsBytes(corvan::encodePrsBytes(*decoded), error);
    if (!again || *again != *decoded) abort();
    return 0;
}
