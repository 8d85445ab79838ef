#include "engine/archive.h"

#include <algorithm>
#include <vector>

#include "engine/ascii.h"

namespace corvan {

std::string_view ArchiveEntry::nameView() const {
    const auto* bytes = reinterpret_cast<const char*>(name.data());
    return std::string_view(bytes, boundedLength(name.data(), name.size()));
}

bool Archive::loadDirectory(const std::filesystem::path& file, FileStore& files) {
    std::vector<std::uint8_t> bytes;
    if (!files.read(file, 0, kDirectorySize, bytes)) return false;
    directory_.fill(0);
    std::copy(bytes.begin(), bytes.end(), directory_.begin());
    file_ = file;
    files_ = &files;
    directoryBytesRead_ = static_cast<int>(bytes.size());
    return true;
}

void Archive::setDirectory(std::span<const std::uint8_t> bytes) {
    directory_.fill(0);
    std::copy_n(bytes.begin(), std::min<std::size_t>(bytes.size(), kDirectorySize),
                directory_.begin());
}

ArchiveEntry Archive::entry(int index) const {
    ArchiveEntry e;
    if (index < 0 || index >= kEntryCount) return e;
    const std::uint8_t* p = directory_.data() + index * kEntrySize;
    std::copy_n(p, 8, e.name.begin());
    e.offset = static_cast<std::uint32_t>(p[8]) | (static_cast<std::uint32_t>(p[9]) << 8) |
               (static_cast<std::uint32_t>(p[10]) << 16);
    e.length = static_cast<std::uint16_t>(p[12] | (p[13] << 8));
    return e;
}

int Archive::findEntry(std::string_view name) const {
    if (name.size() > static_cast<std::size_t>(kMaxNameLength)) return -1;
    for (int i = 0; i < kEntryCount; ++i) {
        if (equalIgnoringAsciiCase(entry(i).nameView(), name)) return i;
    }
    return -1;
}

int Archive::readChunk(int index, std::uint8_t* buffer, std::string& error) const {
    const ArchiveEntry e = entry(index);
    if (e.length > kMaxChunkLength) {
        error = "chunk is " + std::to_string(e.length) + " bytes, more than " +
                std::to_string(kMaxChunkLength);
        return -1;
    }
    const FileStatus status = files_ ? files_->status(file_) : FileStatus{};
    if (!status.regularFile || !status.sizeKnown || !files_->opensForReading(file_)) {
        error = "cannot open " + file_.string();
        return -1;
    }
    if (static_cast<std::uint64_t>(e.offset) + e.length > status.size) {
        error = "chunk lies past the end of the archive";
        return -1;
    }
    std::vector<std::uint8_t> bytes;
    if (!files_->read(file_, e.offset, e.length, bytes) || bytes.size() != e.length) {
        error = "cannot read " + file_.string();
        return -1;
    }
    std::copy(bytes.begin(), bytes.end(), buffer);
    negateBytes(buffer, e.length);
    return e.length;
}

void negateBytes(std::uint8_t* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(0u - bytes[i]);
}

}  // namespace corvan
