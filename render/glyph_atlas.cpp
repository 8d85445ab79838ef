#include "render/glyph_atlas.h"

#include <algorithm>
#include <cstdint>
#include <tuple>

#include "engine/cp932_table.h"

namespace corvan {

namespace {

// Both files start with a magic word and a version; numbers are little-endian.
constexpr std::string_view kIndexMagic = "CVGI";
constexpr std::string_view kFontMagic = "CVGF";
constexpr std::uint16_t kVersion = 1;

class Writer {
public:
    void bytes(std::string_view text) { out_ += text; }
    void u8(unsigned value) { out_.push_back(static_cast<char>(value & 0xFF)); }
    void u16(unsigned value) {
        u8(value);
        u8(value >> 8);
    }
    void i16(int value) { u16(static_cast<unsigned>(value) & 0xFFFF); }
    void u32(std::uint32_t value) {
        u16(value & 0xFFFF);
        u16(value >> 16);
    }
    std::string take() { return std::move(out_); }

private:
    std::string out_;
};

// Reads what Writer wrote; every read past the end marks the reader as failed and gives 0.
class Reader {
public:
    explicit Reader(std::string_view data) : data_(data) {}
    bool ok() const { return ok_; }
    std::size_t position() const { return at_; }
    std::string_view bytes(std::size_t count) {
        if (!ok_ || data_.size() - at_ < count) {
            ok_ = false;
            return {};
        }
        const std::string_view out = data_.substr(at_, count);
        at_ += count;
        return out;
    }
    unsigned u8() {
        const std::string_view b = bytes(1);
        return b.empty() ? 0 : static_cast<unsigned char>(b[0]);
    }
    unsigned u16() {
        const unsigned low = u8();
        return low | u8() << 8;
    }
    int i16() { return static_cast<std::int16_t>(static_cast<std::uint16_t>(u16())); }
    std::uint32_t u32() {
        const std::uint32_t low = u16();
        return low | static_cast<std::uint32_t>(u16()) << 16;
    }

private:
    std::string_view data_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

std::string fontName(const FontSpec& font) {
    return "\"" + font.face + "\" at " + std::to_string(font.height) + " pixels" +
           (font.bold ? ", bold" : "");
}

// One font's data file: ascent, full-width blank, then the glyphs sorted by character, each
// with its placement and its pixels one bit each, row after row.
std::string fontFile(GlyphSource& source, const FontSpec& font,
                     const std::vector<char32_t>& characters) {
    Writer head;
    Writer glyphs;
    std::uint32_t count = 0;
    for (char32_t ch : characters) {
        const auto mask = source.glyph(font, ch);
        if (!mask) continue;
        ++count;
        glyphs.u32(ch);
        glyphs.i16(mask->left);
        glyphs.i16(mask->top);
        glyphs.u16(static_cast<unsigned>(mask->width));
        glyphs.u16(static_cast<unsigned>(mask->height));
        glyphs.i16(mask->advance);
        unsigned byte = 0;
        int filled = 0;
        for (std::uint8_t bit : mask->bits) {
            byte = byte << 1 | (bit ? 1 : 0);
            if (++filled == 8) {
                glyphs.u8(byte);
                byte = 0;
                filled = 0;
            }
        }
        if (filled > 0) glyphs.u8(byte << (8 - filled));
    }
    head.bytes(kFontMagic);
    head.u16(kVersion);
    head.i16(source.ascent(font));
    const auto blank = source.fullWidthBlank(font);
    head.u8(blank ? 1 : 0);
    head.i16(blank.value_or(0));
    head.u32(count);
    return head.take() + glyphs.take();
}

}  // namespace

struct AtlasGlyphs::FontData {
    int ascent = 0;
    std::optional<int> fullWidthBlank;
    std::vector<std::pair<char32_t, GlyphMask>> glyphs;  // sorted by character
};

std::vector<char32_t> cp932Repertoire() {
    std::set<char32_t> characters;
    for (char32_t ch : cp932_table::kSingle) {
        if (ch != cp932_table::kLeadByte && ch != cp932_table::kNoCharacter) characters.insert(ch);
    }
    for (std::uint16_t ch : cp932_table::kDouble) {
        if (ch != 0) characters.insert(ch);
    }
    std::vector<char32_t> out;
    for (char32_t ch : characters) {
        if (ch >= 0x20 && ch != 0x7F) out.push_back(ch);
    }
    return out;
}

GlyphAtlasFiles makeGlyphAtlas(GlyphSource& source, const std::vector<FontSpec>& fonts,
                               const std::vector<char32_t>& characters) {
    GlyphAtlasFiles atlas;
    Writer index;
    index.bytes(kIndexMagic);
    index.u16(kVersion);
    index.u16(static_cast<unsigned>(fonts.size()));
    for (const FontSpec& font : fonts) {
        std::string data = fontFile(source, font, characters);
        auto same = std::find(atlas.fonts.begin(), atlas.fonts.end(), data);
        const auto file = static_cast<unsigned>(same - atlas.fonts.begin());
        if (same == atlas.fonts.end()) atlas.fonts.push_back(std::move(data));
        index.u16(static_cast<unsigned>(font.height));
        index.u8(font.bold ? 1 : 0);
        index.u16(file);
        index.u8(static_cast<unsigned>(font.face.size()));
        index.bytes(font.face);
    }
    atlas.index = index.take();
    return atlas;
}

std::unique_ptr<AtlasGlyphs> AtlasGlyphs::open(std::string_view index, FontLoader loadFont,
                                               std::string& error) {
    Reader in(index);
    if (in.bytes(kIndexMagic.size()) != kIndexMagic || in.u16() != kVersion) {
        error = "not a glyph atlas index";
        return nullptr;
    }
    std::unique_ptr<AtlasGlyphs> atlas(new AtlasGlyphs());
    atlas->loadFont_ = std::move(loadFont);
    const unsigned count = in.u16();
    for (unsigned i = 0; i < count && in.ok(); ++i) {
        const int height = static_cast<int>(in.u16());
        const bool bold = in.u8() != 0;
        const int file = static_cast<int>(in.u16());
        const std::string_view face = in.bytes(in.u8());
        atlas->files_.emplace(std::make_tuple(std::string(face), height, bold), file);
    }
    if (!in.ok()) {
        error = "the glyph atlas index is cut short";
        return nullptr;
    }
    return atlas;
}

const AtlasGlyphs::FontData* AtlasGlyphs::font(const FontSpec& wanted) {
    const auto file = files_.find(std::make_tuple(wanted.face, wanted.height, wanted.bold));
    if (file == files_.end()) {
        warn("The glyph atlas has no font " + fontName(wanted) + ": text in it is not drawn.");
        return nullptr;
    }
    auto it = loaded_.find(file->second);
    if (it != loaded_.end()) return it->second.get();

    std::shared_ptr<FontData> data;
    const std::optional<std::string> bytes = loadFont_ ? loadFont_(file->second) : std::nullopt;
    Reader in(bytes ? std::string_view(*bytes) : std::string_view());
    if (bytes && in.bytes(kFontMagic.size()) == kFontMagic && in.u16() == kVersion) {
        data = std::make_shared<FontData>();
        data->ascent = in.i16();
        const bool hasBlank = in.u8() != 0;
        const int blank = in.i16();
        if (hasBlank) data->fullWidthBlank = blank;
        const std::uint32_t count = in.u32();
        for (std::uint32_t i = 0; i < count && in.ok(); ++i) {
            const char32_t ch = in.u32();
            GlyphMask mask;
            mask.left = in.i16();
            mask.top = in.i16();
            mask.width = static_cast<int>(in.u16());
            mask.height = static_cast<int>(in.u16());
            mask.advance = in.i16();
            const std::size_t pixels = static_cast<std::size_t>(mask.width) * mask.height;
            const std::string_view packed = in.bytes((pixels + 7) / 8);
            if (!in.ok()) break;
            mask.bits.resize(pixels);
            for (std::size_t p = 0; p < pixels; ++p) {
                mask.bits[p] = (static_cast<unsigned char>(packed[p / 8]) >> (7 - p % 8)) & 1;
            }
            data->glyphs.emplace_back(ch, std::move(mask));
        }
        if (!in.ok() ||
            !std::is_sorted(data->glyphs.begin(), data->glyphs.end(),
                            [](const auto& a, const auto& b) { return a.first < b.first; })) {
            data = nullptr;
        }
    }
    if (!data)
        warn("The glyph atlas's data for the font " + fontName(wanted) +
             " cannot be read: text in it is not drawn.");
    loaded_.emplace(file->second, data);
    return data.get();
}

std::optional<GlyphMask> AtlasGlyphs::glyph(const FontSpec& wanted, char32_t ch) {
    const FontData* data = font(wanted);
    if (!data) return std::nullopt;
    const auto it = std::lower_bound(data->glyphs.begin(), data->glyphs.end(), ch,
                                     [](const auto& entry, char32_t c) { return entry.first < c; });
    if (it == data->glyphs.end() || it->first != ch) return std::nullopt;
    return it->second;
}

int AtlasGlyphs::ascent(const FontSpec& wanted) {
    const FontData* data = font(wanted);
    // Without a font, the same proportion as the desktop's drawer takes without a face.
    return data ? data->ascent : wanted.height * 7 / 8;
}

std::optional<int> AtlasGlyphs::fullWidthBlank(const FontSpec& wanted) {
    const FontData* data = font(wanted);
    return data ? data->fullWidthBlank : std::nullopt;
}

void AtlasGlyphs::warn(std::string message) {
    if (reported_.insert(message).second) pending_.push_back(std::move(message));
}

std::vector<std::string> AtlasGlyphs::takeWarnings() {
    std::vector<std::string> out;
    out.swap(pending_);
    return out;
}

}  // namespace corvan
