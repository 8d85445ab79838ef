// prstool: makes and reads the game's PRS pictures for game authors.

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "authoring/png_read.h"
#include "authoring/tool_main.h"
#include "engine/file_write.h"
#include "headless/png_writer.h"
#include "render/bmp.h"
#include "render/prs.h"

namespace fs = std::filesystem;
using namespace corvan;

namespace {

constexpr const char* kUsage = R"(usage: prstool COMMAND ...

  prstool encode IN OUT.PRS   compresses the picture IN (a .bmp or .png file, told apart by
                              its contents) into the PRS file OUT.PRS. A BMP file is stored
                              byte for byte; a PNG picture is stored as a 24-bit BMP (any
                              transparency is dropped: an overlay picture is see-through
                              where it has the colour of its top-left pixel). The game shows
                              pictures of at most 1 MiB as BMP files (a 640x480 24-bit
                              picture is 921654 bytes); bigger ones are refused.
  prstool decode IN.PRS OUT   the picture inside IN.PRS: OUT ending in .bmp gets the BMP file
                              exactly as stored, OUT ending in .png the picture as PNG
  prstool info IN.PRS         the decoded and compressed sizes, the ratio and the picture's
                              width, height and bits per pixel
  prstool --help              show this text
  prstool --version           show the version

Output files are written whole or not at all.
)";

int fail(const std::string& message) {
    std::cerr << "prstool: " << message << "\n";
    return 1;
}

std::optional<std::vector<std::uint8_t>> readFile(const fs::path& path, std::string& error) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        error = "cannot read " + path.string() + ": it is a folder";
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path.string();
        return std::nullopt;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) {
        error = "cannot read " + path.string();
        return std::nullopt;
    }
    const std::string text = buffer.str();
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

bool writeBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes, std::string& error) {
    return writeFileAtomically(
        path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), error);
}

std::string lowerExtension(const fs::path& path) {
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

bool looksLikeBmp(const std::vector<std::uint8_t>& file) {
    return file.size() >= 2 && file[0] == 'B' && file[1] == 'M';
}

// Bits per pixel of a BMP file that readBmp has accepted.
int bmpBitCount(const std::vector<std::uint8_t>& file) {
    const std::uint32_t headerSize = file[14] | file[15] << 8 | file[16] << 16 | file[17] << 24;
    const std::size_t at = headerSize == 12 ? 24 : 28;
    return file[at] | file[at + 1] << 8;
}

std::string percent(std::size_t part, std::size_t whole) {
    if (whole == 0) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f%%", 100.0 * static_cast<double>(part) / whole);
    return text;
}

int encode(const fs::path& in, const fs::path& out) {
    std::string error;
    const auto file = readFile(in, error);
    if (!file) return fail(error);

    std::vector<std::uint8_t> bmp;
    Bitmap picture;
    if (looksLikePng(*file)) {
        auto png = readPng(*file, error);
        if (!png) return fail(in.string() + ": " + error);
        picture = std::move(*png);
        bmp = writeBmp(picture);
    } else if (looksLikeBmp(*file)) {
        // Stored as it is, but only when the game can read it back.
        auto checked = readBmp(*file, error);
        if (!checked) return fail(in.string() + ": not a BMP picture the game can show: " + error);
        picture = std::move(*checked);
        bmp = *file;
    } else {
        return fail(in.string() + ": not a PNG or BMP file");
    }
    if (bmp.size() > kMaxPrsDecodedSize) {
        return fail(in.string() + ": the picture is " + std::to_string(bmp.size()) +
                    " bytes as a BMP file, more than the " + std::to_string(kMaxPrsDecodedSize) +
                    " bytes the game can show");
    }

    const std::vector<std::uint8_t> prs = encodePrsBytes(bmp);
    // Never write a file that would not decode to the picture.
    const auto check = decodePrsBytes(prs, error);
    if (!check || *check != bmp) return fail("internal error: the compressed picture is damaged");
    if (!writeBytes(out, prs, error)) return fail(error);
    std::cout << "prstool: " << out.string() << ": " << picture.width() << "x" << picture.height()
              << ", " << bmp.size() << " bytes into " << prs.size() << " bytes ("
              << percent(prs.size(), bmp.size()) << ")\n";
    return 0;
}

// The decoded BMP bytes of the PRS file `in`, whose bytes are `file`; refused unless they form
// a picture the game can read.
std::optional<std::vector<std::uint8_t>> decodePicture(const fs::path& in,
                                                       const std::vector<std::uint8_t>& file,
                                                       Bitmap* picture, std::string& error) {
    auto bytes = decodePrsBytes(file, error);
    if (!bytes) {
        error = in.string() + ": " + error;
        return std::nullopt;
    }
    auto bitmap = readBmp(*bytes, error);
    if (!bitmap) {
        error = in.string() + ": the decoded bytes are no BMP picture the game can show: " + error;
        return std::nullopt;
    }
    if (picture) *picture = std::move(*bitmap);
    return bytes;
}

int decode(const fs::path& in, const fs::path& out) {
    const std::string ext = lowerExtension(out);
    if (ext != ".bmp" && ext != ".png") {
        return fail(out.string() + ": the output file must end in .bmp or .png");
    }
    std::string error;
    const auto file = readFile(in, error);
    if (!file) return fail(error);
    Bitmap picture;
    const auto bytes = decodePicture(in, *file, &picture, error);
    if (!bytes) return fail(error);
    const bool ok = ext == ".bmp" ? writeBytes(out, *bytes, error) : writePng(picture, out, error);
    if (!ok) return fail(error);
    std::cout << "prstool: " << out.string() << ": " << picture.width() << "x" << picture.height()
              << "\n";
    return 0;
}

int info(const fs::path& in) {
    std::string error;
    const auto file = readFile(in, error);
    if (!file) return fail(error);
    Bitmap picture;
    const auto bytes = decodePicture(in, *file, &picture, error);
    if (!bytes) return fail(error);
    std::cout << "decoded size:    " << bytes->size() << " bytes\n"
              << "compressed size: " << file->size() << " bytes\n"
              << "ratio:           " << percent(file->size(), bytes->size())
              << " of the decoded size\n"
              << "picture:         " << picture.width() << "x" << picture.height() << ", "
              << bmpBitCount(*bytes) << " bits per pixel\n";
    return 0;
}

// Runs the command named by args[0]; nothing when there is no such command.
std::optional<int> runCommand(const std::vector<std::string>& args) {
    const std::string& command = args[0];
    if (command == "encode" && args.size() == 3) return encode(args[1], args[2]);
    if (command == "decode" && args.size() == 3) return decode(args[1], args[2]);
    if (command == "info" && args.size() == 2) return info(args[1]);
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    return runToolCommand("prstool", kUsage, argc, argv, runCommand);
}
