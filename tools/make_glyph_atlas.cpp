// make_glyph_atlas: renders the glyph atlas of the browser's build (render/glyph_atlas.h) from the
// installed fonts, with the desktop game's own glyph source, so that text in the browser is the
// desktop's text pixel for pixel.

#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>

#include "engine/file_write.h"
#include "render/glyph_atlas.h"
#include "render/system_fonts.h"

namespace {

constexpr const char* kUsage =
    "usage: make_glyph_atlas OUTDIR\n"
    "\n"
    "Renders every character of code page 932 in each font the game draws with (its four face\n"
    "names at 16, 24 and 30 pixels, regular and bold) from the installed fonts, and writes the\n"
    "atlas into OUTDIR: index.bin and one font-N.bin for each font. Fails, naming the problem,\n"
    "when a font the game needs is not installed (the IPA fonts of fonts-ipafont).\n";

// The cell heights the game draws at: 16 and 30 for message text, menus and the alternate
// mode's cells, 24 and 16 for the hotel's plates.
constexpr int kHeights[] = {16, 24, 30};

}  // namespace

int main(int argc, char** argv) {
    using namespace corvan;
    if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
        std::cout << kUsage;
        return 0;
    }
    if (argc != 2) {
        std::cerr << kUsage;
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::vector<FontSpec> fonts;
    for (const FontAlias& alias : defaultFontAliases()) {
        for (int height : kHeights) {
            for (bool bold : {false, true}) fonts.push_back({alias.gameFace, height, bold});
        }
    }
    const auto source = systemGlyphs();
    const GlyphAtlasFiles atlas = makeGlyphAtlas(*source, fonts, cp932Repertoire());
    const auto warnings = source->takeWarnings();
    for (const std::string& warning : warnings)
        std::cerr << "make_glyph_atlas: " << warning << "\n";
    if (!warnings.empty()) return 1;

    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    std::string error;
    bool written = writeFileAtomically(folder / "index.bin", atlas.index, error);
    for (std::size_t i = 0; written && i < atlas.fonts.size(); ++i) {
        written = writeFileAtomically(folder / ("font-" + std::to_string(i) + ".bin"),
                                      atlas.fonts[i], error);
    }
    if (!written) {
        std::cerr << "make_glyph_atlas: " << error << "\n";
        return 1;
    }
    std::cout << "make_glyph_atlas: " << fonts.size() << " fonts in " << atlas.fonts.size()
              << " files\n";
    return 0;
}
