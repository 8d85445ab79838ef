#include "authoring/png_read.h"

#include <png.h>

#include <cstring>
#include <vector>

namespace corvan {

namespace {

constexpr std::size_t kSignatureSize = 8;

// What the callbacks of one read share: the input, the read position and the first error.
struct PngInput {
    std::span<const std::uint8_t> file;
    std::size_t position = 0;
    std::string error;
};

void readBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* input = static_cast<PngInput*>(png_get_io_ptr(png));
    if (length > input->file.size() - input->position) {
        png_error(png, "the file ends early");
    }
    std::memcpy(data, input->file.data() + input->position, length);
    input->position += length;
}

void onError(png_structp png, png_const_charp message) {
    auto* input = static_cast<PngInput*>(png_get_error_ptr(png));
    if (input->error.empty()) input->error = std::string("damaged PNG file: ") + message;
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

// Decodes into `out`. Everything that lives past an error jump belongs to the caller, so no
// object of this function is left half-made when libpng jumps back here.
bool decode(png_structp png, png_infop info, PngInput* input, Bitmap* out,
            std::vector<png_bytep>* rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_read_fn(png, input, readBytes);
    png_set_user_limits(png, 1u << 16, 1u << 16);
    png_read_info(png, info);

    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (static_cast<std::int64_t>(width) * height > kMaxPngPixels) {
        input->error = "the picture is " + std::to_string(width) + "x" + std::to_string(height) +
                       " pixels, too big";
        return false;
    }
    const int colourType = png_get_color_type(png, info);
    const int bitDepth = png_get_bit_depth(png, info);
    if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) {
        png_set_gray_to_rgb(png);
    }
    if (bitDepth == 16) png_set_strip_16(png);
    // Expanding a palette also turns its transparency table into alpha; drop that too.
    if ((colourType & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(png, info, PNG_INFO_tRNS) != 0) {
        png_set_strip_alpha(png);
    }
    png_set_bgr(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != static_cast<std::size_t>(width) * 3) {
        input->error = "the picture's pixel format cannot be converted to RGB";
        return false;
    }

    out->resize(static_cast<int>(width), static_cast<int>(height));
    rows->resize(height);
    for (png_uint_32 y = 0; y < height; ++y) (*rows)[y] = out->row(static_cast<int>(y));
    png_read_image(png, rows->data());
    png_read_end(png, nullptr);
    return true;
}

}  // namespace

bool looksLikePng(std::span<const std::uint8_t> file) {
    return file.size() >= kSignatureSize && png_sig_cmp(file.data(), 0, kSignatureSize) == 0;
}

std::optional<Bitmap> readPng(std::span<const std::uint8_t> file, std::string& error) {
    if (!looksLikePng(file)) {
        error = "not a PNG file";
        return std::nullopt;
    }
    PngInput input{file, 0, {}};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &input, onError, onWarning);
    if (!png) {
        error = "cannot start the PNG reader";
        return std::nullopt;
    }
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        error = "cannot start the PNG reader";
        return std::nullopt;
    }
    Bitmap bitmap;
    std::vector<png_bytep> rows;
    const bool ok = decode(png, info, &input, &bitmap, &rows);
    png_destroy_read_struct(&png, &info, nullptr);
    if (!ok) {
        error = input.error.empty() ? "damaged PNG file" : input.error;
        return std::nullopt;
    }
    return bitmap;
}

}  // namespace corvan
