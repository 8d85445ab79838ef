#include "reader/read_record.h"

#include <cstring>
#include <vector>

namespace corvan {

namespace {

constexpr std::string_view kMagic = "CVRD";
constexpr std::uint32_t kFormat = 1;
// A chunk's name in the archive takes at most 8 bytes; a longer one in the file means damage.
constexpr std::size_t kLongestName = 8;

void put32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(v >> (8 * i) & 0xFF));
}

bool get32(std::string_view& in, std::uint32_t& v) {
    if (in.size() < 4) return false;
    v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(in[i])) << (8 * i);
    in.remove_prefix(4);
    return true;
}

}  // namespace

std::string ReadRecord::encode(const std::set<PageId>& pages) {
    std::string out(kMagic);
    put32(out, kFormat);
    put32(out, static_cast<std::uint32_t>(pages.size()));
    for (const PageId& page : pages) {
        out.push_back(static_cast<char>(page.chunk.size()));
        out += page.chunk;
        put32(out, static_cast<std::uint32_t>(page.offset));
        put32(out, page.lineHash);
    }
    return out;
}

std::optional<std::set<PageId>> ReadRecord::decode(std::string_view in) {
    if (in.substr(0, kMagic.size()) != kMagic) return std::nullopt;
    in.remove_prefix(kMagic.size());
    std::uint32_t format = 0, count = 0;
    if (!get32(in, format) || format != kFormat || !get32(in, count)) return std::nullopt;
    std::set<PageId> pages;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (in.empty()) return std::nullopt;
        const auto length = static_cast<std::uint8_t>(in[0]);
        in.remove_prefix(1);
        if (length > kLongestName || in.size() < length) return std::nullopt;
        PageId page;
        page.chunk = std::string(in.substr(0, length));
        in.remove_prefix(length);
        std::uint32_t offset = 0;
        if (!get32(in, offset) || !get32(in, page.lineHash)) return std::nullopt;
        page.offset = static_cast<std::int32_t>(offset);
        pages.insert(std::move(page));
    }
    if (!in.empty()) return std::nullopt;
    return pages;
}

void ReadRecord::load(FileStore& files, const std::filesystem::path& folder, std::string& problem) {
    files_ = &files;
    folder_ = folder;
    pages_.clear();
    unsaved_ = false;
    const std::filesystem::path path = folder / kFileName;
    const FileStatus status = files.status(path);
    if (!status.exists) return;
    // A record far larger than any story's pages is damage, not something to read whole.
    constexpr std::uint64_t kLargestRecord = 64 << 20;
    std::vector<std::uint8_t> bytes;
    if (!status.regularFile || !status.sizeKnown || status.size > kLargestRecord ||
        !files.read(path, 0, static_cast<std::size_t>(status.size), bytes) ||
        bytes.size() != status.size) {
        problem = "the read pages record " + path.string() + " cannot be read; starting afresh";
        return;
    }
    if (auto pages = decode({reinterpret_cast<const char*>(bytes.data()), bytes.size()})) {
        pages_ = std::move(*pages);
    } else {
        problem = "the read pages record " + path.string() + " is damaged; starting afresh";
    }
}

bool ReadRecord::add(const PageId& page) {
    if (page.chunk.size() > kLongestName || !pages_.insert(page).second) return false;
    unsaved_ = true;
    return true;
}

bool ReadRecord::save(std::string& error) {
    if (files_ == nullptr || !unsaved_) return true;
    if (!files_->write(folder_ / kFileName, encode(pages_), error)) return false;
    unsaved_ = false;
    return true;
}

}  // namespace corvan
