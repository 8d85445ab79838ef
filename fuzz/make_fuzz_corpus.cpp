// Writes the fuzz targets' seed corpora into fuzz/corpus/<target>/ from the demo game: its
// archive played by the clicks of demo/play.input, with the demo's pictures and music or with
// one picture and one song of the input's; a save file and seen record that the played demo
// writes, loaded, saved over and played on with settings changed; its settings file, its calc
// and if arguments; its music, plain and RIFF-wrapped; and its pictures in every BMP form the
// reader takes, as small pieces and at full size. Run it by hand from a fuzz build when the
// demo or an input format changes, and commit what it writes:
//   build-san/fuzz/make_fuzz_corpus
// Most seeds are small (a few KiB) so that a fuzzer's mutations stay quick; a few are as large
// as a game's real files (a 640x480 picture), so that what only large files reach is reached.

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
using corvan::MouseButton;
using corvan::fuzz::PlayerAction;

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

// --- Player actions -----------------------------------------------------------------------

// The mouse commands of an input script, each after a run to the game's next wait.
std::vector<PlayerAction> actionsOf(const std::string& script) {
    std::string error;
    const auto commands = corvan::parseInputScript(script, error);
    if (!commands) fail("input script: " + error);
    std::vector<PlayerAction> actions;
    using K = corvan::InputCommand::Kind;
    using A = PlayerAction::Kind;
    for (const corvan::InputCommand& c : *commands) {
        PlayerAction a{A::Click, c.button, 0, c.x, c.y};
        if (c.kind == K::Move) a.kind = A::Move;
        if (c.kind == K::RightClick) a.kind = A::RightClick;
        if (c.kind == K::Down) a.kind = A::Press;
        if (c.kind == K::Up) a.kind = A::Release;
        if (c.kind == K::Move || c.kind == K::Click || c.kind == K::RightClick ||
            c.kind == K::Down || c.kind == K::Up) {
            actions.push_back(a);
        }
    }
    if (actions.size() > corvan::fuzz::kMaxPlayerActions) fail("too many clicks");
    return actions;
}

Bytes actionBytes(const std::vector<PlayerAction>& actions) {
    return corvan::fuzz::playerActionBytes(actions);
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

enum class Form {
    Rgb1,
    Rgb4,
    Rgb8,
    Rle4,
    Rle8,
    Rgb16,
    Fields565,
    Rgb24TopDown,
    Rgb32,
    Core24,
    Core8,
    Fields32,
    V5Rgb24,
};

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

// A file with the 12-byte header of the oldest BMP files: 24-bit, or 8-bit with a palette of
// three-byte entries.
Bytes coreBmpFile(const corvan::Bitmap& b, int bits) {
    const std::size_t paletteBytes = bits == 8 ? 256 * 3 : 0;
    const std::size_t stride = (static_cast<std::size_t>(b.width()) * bits / 8 + 3) / 4 * 4;
    const auto offset = static_cast<std::uint32_t>(26 + paletteBytes);
    Bytes out{'B', 'M'};
    put32(out, static_cast<std::uint32_t>(offset + stride * b.height()));
    put32(out, 0);
    put32(out, offset);
    put32(out, 12);
    put16(out, b.width());
    put16(out, b.height());
    put16(out, 1);
    put16(out, static_cast<std::uint32_t>(bits));
    for (std::size_t i = 0; i < paletteBytes / 3; ++i) {
        const std::uint32_t c = paletteEntry(static_cast<int>(i), 8);
        out.insert(out.end(), {static_cast<std::uint8_t>(c >> 16),
                               static_cast<std::uint8_t>(c >> 8), static_cast<std::uint8_t>(c)});
    }
    for (int y = b.height() - 1; y >= 0; --y) {
        const std::size_t start = out.size();
        if (bits == 24) {
            out.insert(out.end(), b.row(y), b.row(y) + b.stride());
        } else {
            for (int x = 0; x < b.width(); ++x) out.push_back(indexOf(b.pixel(x, y), 8));
        }
        out.resize(start + stride, 0);
    }
    return out;
}

Bytes bmpFile(const corvan::Bitmap& b, Form form) {
    if (form == Form::Core24) return coreBmpFile(b, 24);
    if (form == Form::Core8) return coreBmpFile(b, 8);
    static constexpr std::array<int, 13> kBits = {1, 4, 8, 4, 8, 16, 16, 24, 32, 24, 8, 32, 24};
    const int bits = kBits[static_cast<std::size_t>(form)];
    const bool runLength = form == Form::Rle4 || form == Form::Rle8;
    const bool fields = form == Form::Fields565 || form == Form::Fields32;
    // The longest header there is, of which the reader needs only the first 40 bytes.
    const std::uint32_t headerSize = form == Form::V5Rgb24 ? 124 : 40;
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
            if (bits == 32 && fields) {
                // Red in the low byte, blue above green: masks the usual order does not have.
                put32(row, r | bl << 8 | g << 16);
            } else if (bits >= 24) {
                row.insert(row.end(), {static_cast<std::uint8_t>(bl), static_cast<std::uint8_t>(g),
                                       static_cast<std::uint8_t>(r)});
                if (bits == 32) row.push_back(0);
            }
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

    const std::uint32_t offset =
        14 + headerSize + (fields && headerSize == 40 ? 12 : 0) + colours * 4;
    Bytes out{'B', 'M'};
    put32(out, static_cast<std::uint32_t>(offset + pixels.size()));
    put32(out, 0);
    put32(out, offset);
    put32(out, headerSize);
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
    if (fields && bits == 16) {
        put32(out, 0xF800);
        put32(out, 0x07E0);
        put32(out, 0x001F);
    } else if (fields) {
        put32(out, 0x000000FF);
        put32(out, 0x00FF0000);
        put32(out, 0x0000FF00);
    }
    if (headerSize > 40) out.resize(14 + headerSize, 0);
    for (std::uint32_t i = 0; i < colours; ++i) put32(out, paletteEntry(static_cast<int>(i), bits));
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

// The 640x480 picture the large seeds show, as an 8-bit PRS: the form that keeps a full
// picture smallest, as a game's own pictures often were.
Bytes fullPicturePrs() {
    return corvan::encodePrsBytes(bmpFile(demoPicture("A/A001.PRS"), Form::Rgb8));
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
        {Form::Rgb32, "32bit"},         {Form::Fields32, "32bit-fields"},
        {Form::Core24, "24bit-core"},   {Form::Core8, "8bit-core"},
        {Form::V5Rgb24, "24bit-v5"},
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
    // Whole pictures, as large as a game's: the demo's own PRS file, and the forms a full
    // picture is most often kept in.
    const corvan::Bitmap full = demoPicture("A/A001.PRS");
    for (const auto& [form, name] : {std::pair{Form::Rgb8, "8bit"}, std::pair{Form::Rle8, "rle8"},
                                     std::pair{Form::Rgb24TopDown, "24bit-top-down"}}) {
        writeSeed("bmp", std::string("full-") + name + ".bmp", bmpFile(full, form));
    }
    writeSeed("prs", "full-demo.prs", readFile(kDemo / "GRA" / "A" / "A001.PRS"));
    writeSeed("prs", "full-8bit.prs", fullPicturePrs());
    writeSeed("prs", "full-rle4.prs", corvan::encodePrsBytes(bmpFile(full, Form::Rle4)));
}

// --- Music --------------------------------------------------------------------------------

// A standard MIDI file wrapped as RIFF RMID, with an odd-sized chunk before its data (padded,
// as the form asks) and another after it.
Bytes riffMidi(const Bytes& midi) {
    Bytes out{'R', 'I', 'F', 'F', 0, 0, 0,   0,   'R', 'M', 'I', 'D', 'D', 'I',
              'S', 'P', 3,   0,   0, 0, 'a', 'b', 'c', 0,   'd', 'a', 't', 'a'};
    put32(out, static_cast<std::uint32_t>(midi.size()));
    out.insert(out.end(), midi.begin(), midi.end());
    if (midi.size() % 2 != 0) out.push_back(0);
    out.insert(out.end(), {'L', 'I', 'S', 'T', 4, 0, 0, 0, 'I', 'N', 'F', 'O'});
    const auto size = static_cast<std::uint32_t>(out.size() - 8);
    for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<std::uint8_t>(size >> (8 * i));
    return out;
}

void writeMusicSeeds() {
    for (const char* song : {"01", "02", "03", "04", "05"}) {
        writeSeed("midi", std::string("demo-") + song + ".mid",
                  readFile(kDemo / "MIDI" / (std::string(song) + ".MID")));
    }
    writeSeed("midi", "demo-01.rmi", riffMidi(readFile(kDemo / "MIDI" / "01.MID")));
    // RIFF RMID whose last chunk has an odd size and no pad byte: it ends the file exactly.
    writeSeed("midi", "riff-odd-end.rmi", Bytes{'R', 'I', 'F', 'F', 13,  0, 0, 0, 'R', 'M', 'I',
                                                'D', 'a', 'b', 'c', 'd', 1, 0, 0, 0,   'X'});
}

// --- The played demo ----------------------------------------------------------------------

void writeGameSeeds() {
    const Bytes archive = readFile(kDemo / "mg_data.stf");
    const std::string script = readText(kSource / "demo" / "play.input");
    const Bytes played = actionBytes(actionsOf(script));
    const Bytes demoFiles = corvan::fuzz::gameFileBytes({});
    const Bytes picture = fullPicturePrs();
    const Bytes song = riffMidi(readFile(kDemo / "MIDI" / "02.MID"));
    const Bytes ownFiles = corvan::fuzz::gameFileBytes({picture, song});
    writeSeed("archive", "demo", concat({archive, demoFiles, Bytes{0}}));
    writeSeed("archive", "demo-played", concat({archive, demoFiles, played}));
    writeSeed("archive", "demo-played-own-files", concat({archive, ownFiles, played}));
    std::string error;
    for (const char* chunk : {"pro", "KAI"}) {
        const auto lines = corvan::scriptLinesFromText(
            readText(kSource / "demo" / "scripts" / (std::string(chunk) + ".txt")), true, error);
        if (!lines) fail(std::string(chunk) + ": " + error);
        const auto small = corvan::buildArchive({{"main", *lines}}, error);
        if (!small) fail(error);
        writeSeed("archive", std::string("only-") + chunk, concat({*small, demoFiles, played}));
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
    // Load slot 1 from the system menu, then 移動 and 1F on the hotel map; back in the hotel
    // menu, save in slot 3, slow the text down, 徴収, open the scene replay on its page and
    // try a cell, and press on one row of the system menu to let go on another.
    using A = PlayerAction::Kind;
    const Bytes load = actionBytes({{A::RightClick, MouseButton::Right, 0, 600, 300},
                                    {A::Click, MouseButton::Left, 0, 60, 74},
                                    {A::Click, MouseButton::Left, 0, 60, 44},
                                    {A::Click, MouseButton::Left, 0, 80, 50},
                                    {A::Click, MouseButton::Left, 0, 100, 390},
                                    {A::Save, MouseButton::Left, 0, 2, 0},
                                    {A::Setting, MouseButton::Left, 0, 3, 3},
                                    {A::Click, MouseButton::Left, 0, 80, 130},
                                    {A::SceneReplay, MouseButton::Left, 0, 0, 0},
                                    {A::Click, MouseButton::Left, 0, 100, 90},
                                    {A::Click, MouseButton::Left, 3, 550, 30},
                                    {A::RightClick, MouseButton::Right, 0, 600, 300},
                                    {A::Press, MouseButton::Left, 0, 60, 34},
                                    {A::Move, MouseButton::Left, 0, 60, 74},
                                    {A::Release, MouseButton::Left, 0, 60, 74}});
    const Bytes saveLength{static_cast<std::uint8_t>(save.size()),
                           static_cast<std::uint8_t>(save.size() >> 8)};
    writeSeed("saves", "demo-saved", concat({saveLength, save, seen, demoFiles, load}));
    writeSeed("saves", "demo-saved-own-files", concat({saveLength, save, seen, ownFiles, load}));
    writeSeed("saves", "short-save",
              concat({Bytes{100, 0}, std::span(save).first(100), demoFiles, load}));
    writeSeed("saves", "seen-only", concat({Bytes{0, 0}, seen, demoFiles, Bytes{0}}));

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
    writeMusicSeeds();
    writeGameSeeds();
    writeExpressionSeeds();
    std::printf("make_fuzz_corpus: seeds written to %s\n", kCorpus.c_str());
    return 0;
}
