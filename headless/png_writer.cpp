#include "headless/png_writer.h"

#include <png.h>

#include <vector>

#include "engine/file_write.h"

namespace corvan {

namespace {

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::string*>(png_get_io_ptr(png));
    out->append(reinterpret_cast<const char*>(data), length);
}

void flushNothing(png_structp) {}

// `alpha`, when given, holds one opacity a pixel and makes the picture RGBA.
bool encode(const Bitmap& bitmap, const std::vector<std::uint8_t>* alpha, std::string& out) {
    const int channels = alpha ? 4 : 3;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    std::vector<png_byte> rgb(static_cast<std::size_t>(bitmap.width()) * channels);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &out, appendBytes, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(bitmap.width()),
                 static_cast<png_uint_32>(bitmap.height()), 8,
                 alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < bitmap.height(); ++y) {
        const std::uint8_t* src = bitmap.row(y);
        for (int x = 0; x < bitmap.width(); ++x) {
            png_byte* dst = &rgb[static_cast<std::size_t>(x) * channels];
            dst[0] = src[x * 3 + 2];
            dst[1] = src[x * 3 + 1];
            dst[2] = src[x * 3 + 0];
            if (alpha) dst[3] = (*alpha)[static_cast<std::size_t>(y) * bitmap.width() + x];
        }
        png_write_row(png, rgb.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool encodeAndWrite(const Bitmap& bitmap, const std::vector<std::uint8_t>* alpha,
                    const std::filesystem::path& path, std::string& error) {
    std::string bytes;
    if (!encode(bitmap, alpha, bytes)) {
        error = "cannot encode the picture for " + path.string();
        return false;
    }
    return writeFileAtomically(path, bytes, error);
}

}  // namespace

bool writePng(const Bitmap& bitmap, const std::filesystem::path& path, std::string& error) {
    return encodeAndWrite(bitmap, nullptr, path, error);
}

bool writePng(const Bitmap& bitmap, const std::vector<std::uint8_t>& alpha,
              const std::filesystem::path& path, std::string& error) {
    if (alpha.size() != static_cast<std::size_t>(bitmap.width()) * bitmap.height()) {
        error = "the opacity does not fit the picture for " + path.string();
        return false;
    }
    return encodeAndWrite(bitmap, &alpha, path, error);
}

}  // namespace corvan
