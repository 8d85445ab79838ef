// Pictures: the picture argument of `gra`, `grb` and the `gra` tag, the PRS files in the GRA
// folder, and what each kind of picture does to the layers before its transition shows it.

#include <atomic>
#include <vector>

#include "engine/ascii.h"
#include "engine/cp932.h"
#include "engine/file_store.h"
#include "engine/trace_events.h"
#include "game/game.h"
#include "render/bmp.h"
#include "render/picture_argument.h"
#include "render/prs.h"
#include "render/raster.h"

namespace corvan {

namespace {

// A compressed picture is never larger than this: one flag byte per eight literal bytes of the
// largest picture the game shows, with room to spare.
constexpr std::uintmax_t kMaxPrsFileSize = 4 * 1024 * 1024;

// A number for an overlay just loaded that no overlay of any game in this process had before:
// snapshots of one game may be put back into another.
std::uint64_t nextOverlayVersion() {
    static std::atomic<std::uint64_t> last{0};
    return ++last;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;
}

}  // namespace

PictureArgument parsePictureArgument(std::string_view argument) {
    PictureArgument p;
    std::size_t i = 0;
    if (!argument.empty() && argument[0] != '\0') p.name.push_back(argument[i++]);
    bool stoppedAtComma = false;
    while (p.name.size() < 8 && i < argument.size()) {
        const char c = argument[i];
        if (c == '\0' || c == ']') break;
        if (c == ',') {
            stoppedAtComma = true;
            break;
        }
        p.name.push_back(c);
        ++i;
    }
    if (stoppedAtComma) p.transition = parseDecimal(argument.substr(i + 1));
    if (!p.name.empty()) {
        p.kind = static_cast<char>(asciiUpper(static_cast<std::uint8_t>(p.name[0])));
        p.number = parseDecimal(std::string_view(p.name).substr(1));
    }
    return p;
}

std::uint32_t solidColour(const std::string& name) {
    auto digit = [&](std::size_t i) { return i < name.size() ? hexDigit(name[i]) * 16 : 0; };
    return rgb(digit(3), digit(2), digit(1));  // the digits give blue, green, red
}

std::string picturePath(const PictureArgument& p) {
    if (p.kind == 'A') return "GRA/A/A" + p.name.substr(1) + ".PRS";
    return "GRA/B/" + p.name + ".PRS";
}

// Decodes a PRS file into `target`. A file that cannot be read, is damaged or holds no usable
// BMP leaves the target as it was.
bool Game::loadPictureLayer(std::string_view path, Bitmap& target) {
    FileStore& files = host_.files();
    const auto file = findScriptFile(files, gameDirectory, path);
    if (!file) {
        host_.traceEvent(std::string(trace::kPictureMissing) + " " + cp932ToUtf8(path));
        return false;
    }
    PictureCache* const cache = options_.pictureCache.get();
    if (cache) {
        if (const Bitmap* kept = cache->find(file->string())) {
            target = *kept;
            return true;
        }
    }
    const FileStatus status = files.status(*file);
    std::string error;
    if (!status.regularFile || !status.sizeKnown || status.size > kMaxPrsFileSize) {
        host_.traceEvent("picture-error " + cp932ToUtf8(path) + ": unreadable or too large");
        return false;
    }
    // The file's bytes go into a buffer kept from picture to picture, like the decoder's.
    const auto size = static_cast<std::size_t>(status.size);
    if (!files.read(*file, 0, size, prsFileBuffer_) || prsFileBuffer_.size() != size) {
        host_.traceEvent("picture-error " + std::string(path) + ": unreadable");
        return false;
    }
    const auto decoded = prsDecoder_.decode(prsFileBuffer_, error);
    if (!decoded) {
        host_.traceEvent("picture-error " + cp932ToUtf8(path) + ": " + error);
        return false;
    }
    auto bitmap = readBmp(*decoded, error);
    if (!bitmap) {
        host_.traceEvent("picture-error " + cp932ToUtf8(path) + ": " + error);
        return false;
    }
    if (cache) cache->keep(file->string(), *bitmap);
    target = std::move(*bitmap);
    return true;
}

void Game::ShowPicture(std::string_view argument) {
    const PictureArgument p = parsePictureArgument(argument);
    const bool markable = p.number >= 0 && p.number <= 255;
    switch (p.kind) {
        case 'A':
            if (markable) aMarks[static_cast<std::size_t>(p.number)] = 1;
            if (loadPictureLayer(picturePath(p), layers.background)) {
                overlayShown = overlayDeferred;
                overlayDeferred = false;
                Transition(p.transition);
            }
            break;
        case 'B': {
            if (markable) bMarks[static_cast<std::size_t>(p.number)] = 1;
            Bitmap overlay;
            if (loadPictureLayer(picturePath(p), overlay)) {
                layers.overlay = std::move(overlay);
                layers.overlayImage.image = layers.overlay;
                layers.overlayImage.key = layers.overlay.pixel(0, 0);
                layers.overlayImage.present = true;
                overlayVersion_ = nextOverlayVersion();
                overlayShown = true;
                if (!overlayDeferred) Transition(p.transition);
            }
            break;
        }
        case 'S':
            layers.background.resize(kScreenWidth, kScreenHeight);
            fillRect(layers.background, {0, 0, kScreenWidth, kScreenHeight}, solidColour(p.name));
            overlayShown = overlayDeferred;
            overlayDeferred = false;
            Transition(p.transition);
            break;
        default: break;
    }
    host_.repaint(screen);
}

}  // namespace corvan
