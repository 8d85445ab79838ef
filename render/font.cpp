#include "render/font.h"

#include <algorithm>
#include <map>
#include <unordered_map>

#include "engine/cp932.h"

namespace corvan {

const std::vector<FontAlias>& defaultFontAliases() {
    static const std::vector<FontAlias> aliases = {
        {"ＭＳ ゴシック", "IPAGothic"},
        {"ＭＳＰゴシック", "IPAPGothic"},
        {"ＭＳ Ｐゴシック", "IPAPGothic"},
        {"ＭＳ 明朝", "IPAMincho"},
    };
    return aliases;
}

namespace {

constexpr int kMaxHeight = 1024;  // larger cells are not drawn: no game font comes near

// A glyph placed in its character's cell: (dx, dy) is the mask's top-left from the cell's.
struct PlacedGlyph {
    int dx = 0;
    int dy = 0;
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bits;
};

// Everything one code page 932 character draws (a pair of half-width katakana is two glyphs).
struct CachedCharacter {
    std::vector<PlacedGlyph> glyphs;
    int advance = 0;
};

// The glyphs of one game face name, by characterKey.
using FaceTable = std::unordered_map<std::uint64_t, CachedCharacter>;

std::uint64_t characterKey(const std::uint8_t* bytes, int count, int height, bool bold) {
    std::uint64_t code = static_cast<std::uint64_t>(count) << 16 | bytes[0];
    if (count > 1) code |= static_cast<std::uint64_t>(bytes[1]) << 8;
    return static_cast<std::uint64_t>(height) << 32 | (bold ? 1ull << 24 : 0) | code;
}

// Bytes 0x20-0x7E stand alone; every other byte leads a two-byte character.
int characterLength(std::string_view text, std::size_t at) {
    const auto b = static_cast<unsigned char>(text[at]);
    if (b >= 0x20 && b <= 0x7E) return 1;
    return at + 1 < text.size() ? 2 : 1;
}

void drawGlyph(Bitmap& target, int x, int y, const PlacedGlyph& glyph, std::uint32_t colour) {
    const int left = x + glyph.dx;
    const int top = y + glyph.dy;
    const int firstColumn = std::max(0, -left);
    const int endColumn = std::min(glyph.width, target.width() - left);
    const int firstRow = std::max(0, -top);
    const int endRow = std::min(glyph.height, target.height() - top);
    const auto blue = static_cast<std::uint8_t>(colour >> 16);
    const auto green = static_cast<std::uint8_t>(colour >> 8);
    const auto red = static_cast<std::uint8_t>(colour);
    for (int row = firstRow; row < endRow; ++row) {
        const std::uint8_t* bits = glyph.bits.data() + static_cast<std::size_t>(row) * glyph.width;
        std::uint8_t* out = target.row(top + row);
        for (int column = firstColumn; column < endColumn; ++column) {
            if (!bits[column]) continue;
            std::uint8_t* p = out + static_cast<std::size_t>(left + column) * 3;
            p[0] = blue;
            p[1] = green;
            p[2] = red;
        }
    }
}

}  // namespace

struct TextRenderer::Impl {
    explicit Impl(std::unique_ptr<GlyphSource> source) : glyphs(std::move(source)) {}

    const CachedCharacter& character(const std::uint8_t* bytes, int count, const FontSpec& font) {
        FaceTable& table = faces[font.face];
        const std::uint64_t key = characterKey(bytes, count, font.height, font.bold);
        auto it = table.find(key);
        if (it == table.end()) it = table.emplace(key, build(bytes, count, font)).first;
        return it->second;
    }

    CachedCharacter build(const std::uint8_t* bytes, int count, const FontSpec& font) {
        CachedCharacter out;
        const int ascent = glyphs->ascent(font);
        // A pair is converted as one: bytes with no mapping (0x80, 0xA0, 0xFD-0xFF) and pairs
        // with none draw nothing, whatever the other byte is.
        const auto text = cp932Characters(std::string_view(reinterpret_cast<const char*>(bytes),
                                                           static_cast<std::size_t>(count)));
        bool missing = !text;
        for (char32_t ch : text.value_or(std::u32string())) {
            if (ch < 0x20 || ch == 0x7F) continue;  // control bytes have no glyph and no width
            std::optional<GlyphMask> mask = glyphs->glyph(font, ch);
            if (!mask) {
                missing = true;
                continue;
            }
            out.glyphs.push_back(PlacedGlyph{out.advance + mask->left, ascent - mask->top,
                                             mask->width, mask->height, std::move(mask->bits)});
            out.advance += mask->advance;
        }
        if (missing && out.advance == 0) out.advance = blankAdvance(count, font);
        return out;
    }

    // What a character that cannot be drawn takes: a blank cell as wide as the face's own
    // full-width space (half of it for a single byte).
    int blankAdvance(int count, const FontSpec& font) {
        const int full = glyphs->fullWidthBlank(font).value_or(font.height + (font.bold ? 1 : 0));
        return count >= 2 ? full : full / 2;
    }

    std::unique_ptr<GlyphSource> glyphs;
    std::map<std::string, FaceTable, std::less<>> faces;  // by game face name
};

TextRenderer::TextRenderer(std::unique_ptr<GlyphSource> glyphs)
    : impl_(std::make_unique<Impl>(std::move(glyphs))) {}

TextRenderer::~TextRenderer() = default;
TextRenderer::TextRenderer(TextRenderer&&) noexcept = default;
TextRenderer& TextRenderer::operator=(TextRenderer&&) noexcept = default;

int TextRenderer::drawCharacter(Bitmap& target, int x, int y, const std::uint8_t* bytes, int count,
                                const FontSpec& font, std::uint32_t colour) {
    if (!bytes || count <= 0 || font.height <= 0 || font.height > kMaxHeight) return 0;
    const CachedCharacter& character = impl_->character(bytes, std::min(count, 2), font);
    for (const PlacedGlyph& glyph : character.glyphs) drawGlyph(target, x, y, glyph, colour);
    return character.advance;
}

int TextRenderer::drawText(Bitmap& target, int x, int y, std::string_view cp932,
                           const FontSpec& font, std::uint32_t colour) {
    int pen = 0;
    for (std::size_t i = 0; i < cp932.size();) {
        const int length = characterLength(cp932, i);
        pen += drawCharacter(target, x + pen, y, reinterpret_cast<const std::uint8_t*>(&cp932[i]),
                             length, font, colour);
        i += static_cast<std::size_t>(length);
    }
    return pen;
}

int TextRenderer::textWidth(std::string_view cp932, const FontSpec& font) {
    if (font.height <= 0 || font.height > kMaxHeight) return 0;
    int width = 0;
    for (std::size_t i = 0; i < cp932.size();) {
        const int length = characterLength(cp932, i);
        width += impl_->character(reinterpret_cast<const std::uint8_t*>(&cp932[i]), length, font)
                     .advance;
        i += static_cast<std::size_t>(length);
    }
    return width;
}

int TextRenderer::ascent(const FontSpec& font) {
    if (font.height <= 0 || font.height > kMaxHeight) return 0;
    return impl_->glyphs->ascent(font);
}

std::vector<std::string> TextRenderer::takeWarnings() {
    return impl_->glyphs->takeWarnings();
}

}  // namespace corvan
