#include "render/system_fonts.h"

#include "render/font_faces.h"

namespace corvan {

namespace {

using font_detail::FontLibrary;

class SystemGlyphs : public GlyphSource {
public:
    explicit SystemGlyphs(std::vector<FontAlias> aliases) : library_(std::move(aliases)) {}

    std::optional<GlyphMask> glyph(const FontSpec& font, char32_t ch) override {
        FT_Face face = library_.faceFor(primary(font.face), ch);
        if (!face) return std::nullopt;
        return library_.render(face, ch, font.height, font.bold);
    }

    int ascent(const FontSpec& font) override {
        return FontLibrary::ascent(primary(font.face), font.height);
    }

    std::optional<int> fullWidthBlank(const FontSpec& font) override {
        FT_Face face = primary(font.face);
        if (!face || FT_Get_Char_Index(face, 0x3000) == 0) return std::nullopt;
        const auto space = library_.render(face, 0x3000, font.height, font.bold);
        if (!space) return std::nullopt;
        return space->advance;
    }

    std::vector<std::string> takeWarnings() override { return library_.takeWarnings(); }

private:
    FT_Face primary(const std::string& gameFace) { return library_.primaryFace(gameFace); }

    FontLibrary library_;
};

}  // namespace

std::unique_ptr<GlyphSource> systemGlyphs(std::vector<FontAlias> aliases) {
    return std::make_unique<SystemGlyphs>(std::move(aliases));
}

TextRenderer::TextRenderer() : TextRenderer(systemGlyphs()) {}

TextRenderer::TextRenderer(std::vector<FontAlias> aliases)
    : TextRenderer(systemGlyphs(std::move(aliases))) {}

TextRenderer& systemTextRenderer() {
    static TextRenderer renderer;
    return renderer;
}

}  // namespace corvan
