// Writes the fuzz targets' seed corpora into fuzz/corpus/<target>/ from the demo game: its
// archive played by the clicks of demo/play.input, a save file and seen record that the played
// demo writes, its settings file, its calc and if arguments, its music, and small pieces of its
// pictures in every BMP form the reader takes. Run it by hand from a fuzz build when the demo or
// an input format changes, and commit what it writes:
//   build-san/fuzz/make_fuzz_corpus
// Seeds are kept small (a few KiB) so that a fuzzer's mutations stay quick.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "authoring/stf_pack.h"
#include "fuzz/fuzz_game.h"
#include "headless/input_script.h"
#include "render/bmp.h"
#include "render/prs.h"
#include "settings/setting_names.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using corvan::fuzz::MouseAction;

const fs::path kDemo = CORVAN_DEMO_DIR;
const fs::path kSource = CORVAN_SOURCE_DIR;
const fs::path kCorpus = kSource / "fuzz" / "corpus";

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "make_fuzz_corpus: %s\n", what.c_str());
    std::exit(1);
}

Bytes readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) fail("cannot read " + path.string());
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

std::string readText(const fs::path& path) {
    const Bytes b = readFile(path);
    return std::string(b.begin(), b.end());
}

void writeSeed(const std::string& target, const std::string& name,
               std::span<const std::uint8_t> b) {
    const fs::path path = kCorpus / target / name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    if (!out) fail("cannot write " + path.string());
}

void writeSeed(const std::string& target, const std::string& name, const std::string& text) {
    writeSeed(target, name,
              std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

void put16(Bytes& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void put32(Bytes& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// --- Mouse actions ------------------------------------------------------------------------

// The clicks of an input script, each after a run to the game's next wait.
std::vector<MouseAction> actionsOf(const std::string& script) {
    std::string error;
    const auto commands = corvan::parseInputScript(script, error);
    if (!commands) fail("input script: " + error);
    std::vector<MouseAction> actions;
    using K = corvan::InputCommand::Kind;
    for (const corvan::InputCommand& c : *commands) {
        MouseAction a{MouseAction::Kind::Click, 0, c.x, c.y};
        if (c.kind == K::Move) a.kind = MouseAction::Kind::Move;
        if (c.kind == K::RightClick) a.kind = MouseAction::Kind::RightClick;
        if (c.kind == K::Move || c.kind == K::Click || c.kind == K::RightClick) {
            actions.push_back(a);
        }
    }
    if (actions.size() > corvan::fuzz::kMaxMouseActions) fail("too many clicks");
    return actions;
}

// `actions` in the form takeMouseActions reads from the end of an input.
Bytes actionBytes(const std::vector<MouseAction>& actions) {
    Bytes out;
    for (const MouseAction& a : actions) {
        out.push_back(static_cast<std::uint8_t>(static_cast<int>(a.kind) | a.idleCalls << 2));
        put16(out, static_cast<std::uint16_t>(a.x));
        put16(out, static_cast<std::uint16_t>(a.y));
    }
    out.push_back(static_cast<std::uint8_t>(actions.size()));
    return out;
}

Bytes concat(std::initializer_list<std::span<const std::uint8_t>> parts) {
    Bytes out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// --- Pictures -----------------------------------------------------------------------------

corvan::Bitmap demoPicture(const std::string& relative) {
    std::string error;
    const auto bmp = corvan::decodePrsBytes(readFile(kDemo / "GRA" / relative), error);
    if (!bmp) fail(relative + ": " + error);
    auto bitmap = corvan::readBmp(*bmp, error);
    if (!bitmap) fail(relative + ": " + error);
    return *bitmap;
}

corvan::Bitmap crop(const corvan::Bitmap& from, int x, int y, int width, int height) {
    corvan::Bitmap out(width, height);
    for (int row = 0; row < height; ++row) {
        std::copy_n(from.row(y + row) + 3 * x, out.stride(), out.row(row));
    }
    return out;
}

enum class Form { Rgb1, Rgb4, Rgb8, Rle4, Rle8, Rgb16, Fields565, Rgb24TopDown, Rgb32, Core24 };

std::uint8_t grey(std::uint32_t c) {
    return static_cast<std::uint8_t>(((c & 0xFF) + (c >> 8 & 0xFF) + (c >> 16 & 0xFF)) / 3);
}

// The palette index of colour `c` (0xBBGGRR): black or white, 16 greys, or 3-3-2 colour.
std::uint8_t indexOf(std::uint32_t c, int bits) {
    if (bits == 1) return grey(c) >= 128;
    if (bits == 4) return grey(c) >> 4;
    return static_cast<std::uint8_t>((c & 0xE0) | (c >> 11 & 0x1C) | (c >> 22 & 0x03));
}

std::uint32_t paletteEntry(int i, int bits) {  // 0xBBGGRR
    if (bits == 1) return i ? 0xFFFFFF : 0;
    if (bits == 4) return static_cast<std::uint32_t>(i * 17) * 0x010101;
    const std::uint32_t r = i & 0xE0, g = (i & 0x1C) << 3, b = (i & 0x03) << 6;
    return b << 16 | g << 8 | r;
}

// One run-length row, bottom-up order applied by the caller: the first pixels given one by one
// (an absolute run, padded to an even byte count), then runs of equal indices, then the row's
// end mark.
void runLengthRow(Bytes& out, const std::vector<std::uint8_t>& indices, bool fourBits) {
    const std::size_t literal = std::min<std::size_t>(indices.size(), 6);
    std::size_t x = 0;
    if (literal >= 3) {
        out.push_back(0);
        out.push_back(static_cast<std::uint8_t>(literal));
        Bytes bytes;
        for (; x < literal; ++x) {
            if (!fourBits) {
                bytes.push_back(indices[x]);
            } else if (x % 2 == 0) {
                bytes.push_back(static_cast<std::uint8_t>(indices[x] << 4));
            } else {
                bytes.back() |= indices[x];
            }
        }
        if (bytes.size() % 2 != 0) bytes.push_back(0);
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    while (x < indices.size()) {
        std::size_t n = 1;
        while (x + n < indices.size() && n < 255 && indices[x + n] == indices[x]) ++n;
        out.push_back(static_cast<std::uint8_t>(n));
        out.push_back(fourBits ? static_cast<std::uint8_t>(indices[x] * 0x11) : indices[x]);
        x += n;
    }
    out.push_back(0);
    out.push_back(0);
}

Bytes bmpFile(const corvan::Bitmap& b, Form form) {
    if (form == Form::Core24) {
        Bytes out{'B', 'M'};
        const std::size_t stride = (b.stride() + 3) / 4 * 4;
        put32(out, static_cast<std::uint32_t>(26 + stride * b.height()));
        put32(out, 0);
        put32(out, 26);
        put32(out, 12);
        put16(out, b.width());
        put16(out, b.height());
        put16(out, 1);
        put16(out, 24);
        for (int y = b.height() - 1; y >= 0; --y) {
            out.insert(out.end(), b.row(y), b.row(y) + b.stride());
            out.resize(out.size() + stride - b.stride(), 0);
        }
        return out;
    }
    static constexpr std::array<int, 10> kBits = {1, 4, 8, 4, 8, 16, 16, 24, 32, 24};
    const int bits = kBits[static_cast<std::size_t>(form)];
    const bool runLength = form == Form::Rle4 || form == Form::Rle8;
    const bool fields = form == Form::Fields565;
    const std::uint32_t colours = bits <= 8 ? 1u << bits : 0;

    Bytes pixels;
    const std::size_t stride = (static_cast<std::size_t>(b.width()) * bits + 31) / 32 * 4;
    for (int fileRow = 0; fileRow < b.height(); ++fileRow) {
        const int y = form == Form::Rgb24TopDown ? fileRow : b.height() - 1 - fileRow;
        std::vector<std::uint8_t> indices;
        Bytes row;
        for (int x = 0; x < b.width(); ++x) {
            const std::uint32_t c = b.pixel(x, y);
            const std::uint32_t r = c & 0xFF, g = c >> 8 & 0xFF, bl = c >> 16;
            if (bits <= 8) indices.push_back(indexOf(c, bits));
            if (bits == 16) {
                put16(row, fields ? (r >> 3) << 11 | (g >> 2) << 5 | bl >> 3
                                  : (r >> 3) << 10 | (g >> 3) << 5 | bl >> 3);
            }
            if (bits >= 24)
                row.insert(row.end(), {static_cast<std::uint8_t>(bl), static_cast<std::uint8_t>(g),
                                       static_cast<std::uint8_t>(r)});
            if (bits == 32) row.push_back(0);
        }
        if (runLength) {
            runLengthRow(pixels, indices, bits == 4);
            continue;
        }
        if (bits <= 8) {
            row.assign(stride, 0);
            for (std::size_t x = 0; x < indices.size(); ++x) {
                row[x * bits / 8] |=
                    static_cast<std::uint8_t>(indices[x] << (8 - bits - x * bits % 8));
            }
        }
        row.resize(stride, 0);
        pixels.insert(pixels.end(), row.begin(), row.end());
    }
    if (runLength) {
        pixels.push_back(0);
        pixels.push_back(1);
    }

    const std::uint32_t offset = 14 + 40 + (fields ? 12 : 0) + colours * 4;
    Bytes out{'B', 'M'};
    put32(out, static_cast<std::uint32_t>(offset + pixels.size()));
    put32(out, 0);
    put32(out, offset);
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(b.width()));
    put32(out, static_cast<std::uint32_t>(form == Form::Rgb24TopDown ? -b.height() : b.height()));
    put16(out, 1);
    put16(out, static_cast<std::uint32_t>(bits));
    put32(out, form == Form::Rle8 ? 1 : form == Form::Rle4 ? 2 : fields ? 3 : 0);
    put32(out, static_cast<std::uint32_t>(pixels.size()));
    put32(out, 2835);
    put32(out, 2835);
    put32(out, colours);
    put32(out, 0);
    if (fields) {
        put32(out, 0xF800);
        put32(out, 0x07E0);
        put32(out, 0x001F);
    }
    for (std::uint32_t i = 0; i < colours; ++i) put32(out, paletteEntry(static_cast<int>(i), bits));
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

void writePictureSeeds() {
    struct Piece {
        const char* name;
        const char* picture;
        int x, y;
    };
    static constexpr Piece kPieces[] = {
        {"hall", "A/A001.PRS", 300, 200},    {"room", "A/A002.PRS", 100, 300},
        {"night", "A/A003.PRS", 420, 120},   {"lift", "A/A004.PRS", 250, 360},
        {"overlay", "B/B001.PRS", 300, 180},
    };
    static constexpr std::pair<Form, const char*> kForms[] = {
        {Form::Rgb1, "1bit"},           {Form::Rgb4, "4bit"},
        {Form::Rgb8, "8bit"},           {Form::Rle4, "rle4"},
        {Form::Rle8, "rle8"},           {Form::Rgb16, "16bit-555"},
        {Form::Fields565, "16bit-565"}, {Form::Rgb24TopDown, "24bit-top-down"},
        {Form::Rgb32, "32bit"},         {Form::Core24, "24bit-core"},
    };
    for (const Piece& p : kPieces) {
        const corvan::Bitmap piece = crop(demoPicture(p.picture), p.x, p.y, 40, 30);
        writeSeed("prs", std::string(p.name) + ".prs",
                  corvan::encodePrsBytes(corvan::writeBmp(piece)));
    }
    const corvan::Bitmap hall = crop(demoPicture("A/A001.PRS"), 300, 200, 37, 29);
    writeSeed("bmp", "hall-24bit.bmp", corvan::writeBmp(hall));
    for (const auto& [form, name] : kForms) {
        writeSeed("bmp", std::string("hall-") + name + ".bmp", bmpFile(hall, form));
    }
}

// --- The played demo ----------------------------------------------------------------------

void writeGameSeeds() {
    const Bytes archive = readFile(kDemo / "mg_data.stf");
    const std::string script = readText(kSource / "demo" / "play.input");
    const Bytes played = actionBytes(actionsOf(script));
    writeSeed("archive", "demo", concat({archive, Bytes{0}}));
    writeSeed("archive", "demo-played", concat({archive, played}));
    std::string error;
    for (const char* chunk : {"pro", "KAI"}) {
        const auto lines = corvan::scriptLinesFromText(
            readText(kSource / "demo" / "scripts" / (std::string(chunk) + ".txt")), true, error);
        if (!lines) fail(std::string(chunk) + ": " + error);
        const auto small = corvan::buildArchive({{"main", *lines}}, error);
        if (!small) fail(error);
        writeSeed("archive", std::string("only-") + chunk, concat({*small, played}));
    }

    writeSeed("input_script", "demo-play.input", script);
    writeSeed("input_script", "every-command.input",
              "# one of each\nrun 50\nidle 7\nmove 320 240\nclick 320 240\nrclick 600 300\n"
              "down L 60 74\nup L 60 74\ndown R 1 1\nup M 639 479\nanswer ok\nanswer cancel\n"
              "pick cancel\nset Delay 2\nstate out.json\nshot out.png\nrun\n");

    // The demo played through and saved in slot 1, with the seen record that the save writes.
    const corvan::fuzz::GameFolders& folders = corvan::fuzz::freshFolders(true);
    const fs::path ini = folders.save / "Brackwell.ini";
    {
        corvan::HeadlessPlayer player;
        corvan::fuzz::useFolders(player, folders);
        if (!player.host().useSettingsFile(ini, error)) fail(error);
        corvan::fuzz::play(player, actionsOf(script));
        player.setSetting(std::string(corvan::setting::kDelay), "2");
        if (!player.game().SaveSlot(1)) fail("the demo did not save");
    }
    const Bytes save = readFile(folders.save / "save1.cv");
    const Bytes seen = readFile(folders.save / "seen.cv");
    // Load slot 1 from the system menu, then 移動 and 1F on the hotel map.
    const Bytes load = actionBytes({{MouseAction::Kind::RightClick, 0, 600, 300},
                                    {MouseAction::Kind::Click, 0, 60, 74},
                                    {MouseAction::Kind::Click, 0, 60, 44},
                                    {MouseAction::Kind::Click, 0, 80, 50},
                                    {MouseAction::Kind::Click, 0, 100, 390}});
    const Bytes saveLength{static_cast<std::uint8_t>(save.size()),
                           static_cast<std::uint8_t>(save.size() >> 8)};
    writeSeed("saves", "demo-saved", concat({saveLength, save, seen, load}));
    writeSeed("saves", "short-save", concat({Bytes{100, 0}, std::span(save).first(100), load}));
    writeSeed("saves", "seen-only", concat({Bytes{0, 0}, seen, Bytes{0}}));

    // The settings file the demo wrote, its game folder named as a player's would be, and the
    // same by a hand that likes Windows line ends.
    std::string settings = readText(ini);
    const std::string gameDir = folders.game.string();
    for (std::size_t at; (at = settings.find(gameDir)) != std::string::npos;) {
        settings.replace(at, gameDir.size(), "/media/cdrom");
    }
    writeSeed("settings", "demo-delay", std::string("\x05") + "3" + '\0' + settings);
    std::string crlf = "\xEF\xBB\xBF; written by hand\r\n[Other]\r\nBGM=9\r\n\r\n";
    for (char c : settings) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    writeSeed("settings", "hand-edited-bgm", std::string("\x02") + "0x1F" + '\0' + crlf);
    writeSeed("settings", "new-file", std::string("\x07") + "my value" + '\0');

    writeSeed("midi", "demo-01.mid", readFile(kDemo / "MIDI" / "01.MID"));
}

// Every calc and if argument of the demo's scripts: what follows "*calc " and "*if ".
void writeExpressionSeeds() {
    std::vector<fs::path> scripts;
    for (const auto& entry : fs::directory_iterator(kSource / "demo" / "scripts")) {
        scripts.push_back(entry.path());
    }
    std::sort(scripts.begin(), scripts.end());
    int n = 0;
    for (const fs::path& script : scripts) {
        std::istringstream in(readText(script));
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            for (const std::string keyword : {"*calc ", "*if "}) {
                if (line.rfind(keyword, 0) == 0) {
                    writeSeed("expressions", "demo-" + std::to_string(++n),
                              line.substr(keyword.size()));
                }
            }
        }
    }
}

}  // namespace

int main() {
    for (const char* target :
         {"archive", "bmp", "expressions", "input_script", "midi", "prs", "saves", "settings"}) {
        fs::remove_all(kCorpus / target);
        fs::create_directories(kCorpus / target);
    }
    writePictureSeeds();
    writeGameSeeds();
    writeExpressionSeeds();
    std::printf("make_fuzz_corpus: seeds written to %s\n", kCorpus.c_str());
    return 0;
}
