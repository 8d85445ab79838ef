#pragma once

// The record of the pages the player has read, kept between games in a file of its own in the
// save folder ("read.cv"), beside the saves; the game's own files keep their layout. The file is
// "CVRD", a format number (1) and a count, then for each page: the chunk name's length and
// bytes, the offset of its first line and the hash of that line, little-endian, sorted.

#include <filesystem>
#include <set>
#include <string>

#include "engine/file_store.h"
#include "reader/page_book.h"

namespace corvan {

class ReadRecord {
public:
    static constexpr const char* kFileName = "read.cv";

    // Reads the record of a save folder. A missing file is an empty record; a damaged one too,
    // with `problem` saying so (it is replaced when the record is next written).
    // The file is read and written through `files`, which must outlive the record.
    void load(FileStore& files, const std::filesystem::path& folder, std::string& problem);
    bool loaded() const { return files_ != nullptr; }

    bool contains(const PageId& page) const { return pages_.contains(page); }
    // Adds a page; true when it was not there yet (the record then needs writing).
    bool add(const PageId& page);
    bool unsaved() const { return unsaved_; }
    // Writes the record whole or not at all; false with `error` when it cannot.
    bool save(std::string& error);

    // The file's bytes for a set of pages, and the pages of a file's bytes (nullopt when damaged).
    static std::string encode(const std::set<PageId>& pages);
    static std::optional<std::set<PageId>> decode(std::string_view bytes);

private:
    FileStore* files_ = nullptr;
    std::filesystem::path folder_;
    std::set<PageId> pages_;
    bool unsaved_ = false;
};

}  // namespace corvan
