// stftool: builds and reads script archives for game authors.

#include <filesystem>
#include <iomanip>
#include <iostream>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "authoring/save_reader.h"
#include "authoring/script_check.h"
#include "authoring/stf_pack.h"
#include "authoring/tool_main.h"
#include "engine/archive.h"
#include "engine/ascii.h"
#include "engine/cp932.h"
#include "engine/file_lookup.h"
#include "engine/file_write.h"

namespace fs = std::filesystem;
using namespace corvan;

namespace {

constexpr const char* kUsage = R"(usage: stftool COMMAND ...

  stftool pack OUT.stf DIR      one chunk per file of DIR; the chunk's name is the file name
                                without its extension. .txt files are UTF-8 and become
                                Shift-JIS (code page 932); .sjis files are taken as they are.
                                Lines end with LF or CRLF.
                                Then prints what `check` finds in the scripts.
  stftool check [--json] [--game DIR] PATH
                                reports, one line each, what the game would do wrong without a
                                word: unknown commands, jumps to missing labels or chunks,
                                choices without their rows or CASE labels, missing pictures,
                                music and voices, page and frame problems, unreachable labels
                                and chunks. PATH is a game folder, an archive, or a folder of
                                script files (then --game names the game folder whose files
                                are looked for). Exit status 1 when there is an error.
  stftool saves [--json] SAVEDIR
                                every save slot of the save folder SAVEDIR (its set flags, its
                                V and S values that are not 0) and the seen record (pictures
                                seen, E values)
  stftool saves --diff FILE FILE
                                what differs between two save files or two seen records
  stftool list ARCHIVE          index, name, offset and length of every chunk
  stftool extract ARCHIVE DIR   every chunk as DIR/NAME.sjis (code page 932, LF line ends)
  stftool cat ARCHIVE NAME      one chunk's text, as UTF-8
  stftool --help                show this text
  stftool --version             show the version
)";

int fail(const std::string& message) {
    std::cerr << "stftool: " << message << "\n";
    return 1;
}

bool writeFileWhole(const fs::path& path, const void* data, std::size_t size) {
    std::string error;
    return writeFileAtomically(path, std::string_view(static_cast<const char*>(data), size), error);
}

std::string problemText(const SourceProblem& problem) {
    if (problem.line == 0) return problem.file + ": " + problem.what;
    return problem.file + ", line " + std::to_string(problem.line) + ": " + problem.what;
}

// Packs the folder, refusing what the archive cannot hold as written, then prints what the
// checker finds in the scripts (files are not looked for: the pictures and sounds may be made
// after the archive).
int pack(const fs::path& out, const fs::path& dir) {
    std::vector<ChunkSource> chunks;
    std::vector<std::string> files;
    std::vector<SourceProblem> problems;
    std::string error;
    if (!readChunkSources(dir, chunks, files, problems, error)) return fail(error);
    if (!problems.empty()) return fail(problemText(problems.front()));
    const auto archive = buildArchive(chunks, error);
    if (!archive) return fail(error);
    if (!writeFileWhole(out, archive->data(), archive->size())) {
        return fail("cannot write " + out.string());
    }
    std::cout << "stftool: packed " << chunks.size() << " chunks into " << out.string() << "\n";
    std::cerr << formatFindings(checkScripts({std::move(chunks), std::move(files), {}, {}}));
    return 0;
}

// Checks a game folder (its mg_data.stf and the files it names), an archive, or a folder of
// script files (with --game for the files).
int check(const std::vector<std::string>& args) {
    bool json = false;
    std::optional<fs::path> target;
    std::optional<fs::path> game;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--json") {
            json = true;
        } else if (args[i] == "--game" && i + 1 < args.size()) {
            game = args[++i];
        } else if (!target && (args[i].empty() || args[i][0] != '-')) {
            target = args[i];
        } else {
            return fail("check: unexpected argument " + args[i]);
        }
    }
    if (!target) return fail("check: no game folder, archive or script folder given");
    ScriptCheckInput input;
    std::string error;
    std::error_code ec;
    bool read = false;
    if (fs::is_directory(*target, ec)) {
        if (const auto archive = findIgnoringCase(*target, "mg_data.stf")) {
            read = readArchiveForCheck(*archive, input, error);
            if (!game) game = *target;
        } else {
            read = readSourcesForCheck(*target, input, error);
        }
    } else {
        read = readArchiveForCheck(*target, input, error);
        if (!game) game = target->parent_path().empty() ? fs::path(".") : target->parent_path();
    }
    if (!read) return fail(error);
    input.gameFolder = game;
    const std::vector<Finding> findings = checkScripts(input);
    std::cout << (json ? findingsJson(findings) : formatFindings(findings));
    return hasErrors(findings) ? 1 : 0;
}

bool openArchive(const fs::path& path, Archive& archive) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return false;
    return archive.loadDirectory(path);
}

int list(const fs::path& path) {
    Archive archive;
    if (!openArchive(path, archive)) return fail("cannot read the archive " + path.string());
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    int damaged = 0;
    if (size < static_cast<std::uintmax_t>(Archive::kDirectorySize)) {
        std::cerr << "stftool: " << path.string() << " is " << size << " bytes, shorter than the "
                  << Archive::kDirectorySize << "-byte directory\n";
        ++damaged;
    }
    for (int i = 0; i < Archive::kEntryCount; ++i) {
        const ArchiveEntry e = archive.entry(i);
        if (e.nameView().empty() && e.offset == 0 && e.length == 0) continue;
        std::cout << std::setw(4) << i << "  " << std::left << std::setw(8)
                  << cp932ToUtf8(e.nameView()) << std::right << "  " << std::setw(8) << e.offset
                  << "  " << std::setw(5) << e.length << "\n";
        if (e.length > Archive::kMaxChunkLength) {
            std::cerr << "stftool: entry " << i << " is longer than a chunk may be\n";
            ++damaged;
        } else if (static_cast<std::uintmax_t>(e.offset) + e.length > size) {
            std::cerr << "stftool: entry " << i << " lies past the end of the file\n";
            ++damaged;
        }
    }
    return damaged == 0 ? 0 : 1;
}

int extract(const fs::path& path, const fs::path& dir) {
    Archive archive;
    if (!openArchive(path, archive)) return fail("cannot read the archive " + path.string());
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (!fs::is_directory(dir, ec)) return fail("cannot make the folder " + dir.string());
    std::vector<std::uint8_t> buffer(Archive::kMaxChunkLength);
    int written = 0;
    for (int i = 0; i < Archive::kEntryCount; ++i) {
        const ArchiveEntry e = archive.entry(i);
        const std::string name(e.nameView());
        if (name.empty()) continue;
        // Names become file names: refuse anything that could leave the folder.
        if (name.find('/') != std::string::npos || name == "." || name == "..") {
            std::cerr << "stftool: entry " << i << " skipped: its name is no file name\n";
            continue;
        }
        std::string error;
        const int length = archive.readChunk(i, buffer.data(), error);
        if (length < 0) {
            std::cerr << "stftool: entry " << i << " (" << cp932ToUtf8(name)
                      << ") skipped: " << error << "\n";
            continue;
        }
        const std::string text = textFromScriptLines(
            std::string_view(reinterpret_cast<const char*>(buffer.data()), length));
        if (!writeFileWhole(dir / (name + ".sjis"), text.data(), text.size())) {
            return fail("cannot write " + (dir / (name + ".sjis")).string());
        }
        ++written;
    }
    std::cout << "stftool: extracted " << written << " chunks into " << dir.string() << "\n";
    return 0;
}

int cat(const fs::path& path, const std::string& name) {
    Archive archive;
    if (!openArchive(path, archive)) return fail("cannot read the archive " + path.string());
    const int index = archive.findEntry(name);
    if (index < 0) return fail("no chunk named \"" + name + "\" in " + path.string());
    std::vector<std::uint8_t> buffer(Archive::kMaxChunkLength);
    std::string error;
    const int length = archive.readChunk(index, buffer.data(), error);
    if (length < 0) return fail("chunk \"" + name + "\": " + error);
    std::cout << cp932ToUtf8(textFromScriptLines(
        std::string_view(reinterpret_cast<const char*>(buffer.data()), length)));
    return 0;
}

int showSaves(const std::vector<std::string>& args) {
    if (args[1] == "--diff") {
        std::string diff, error;
        if (!diffSaveFiles(args[2], args[3], diff, error)) return fail(error);
        std::cout << (diff.empty() ? "the two files hold the same\n" : diff);
        return 0;
    }
    const bool json = args[1] == "--json";
    SaveFolder folder;
    std::string error;
    if (!readSaveFolder(args.back(), folder, error)) return fail(error);
    std::cout << (json ? saveFolderJson(folder) : saveFolderText(folder));
    return 0;
}

// Runs the command named by args[0]; nothing when there is no such command.
std::optional<int> runCommand(const std::vector<std::string>& args) {
    const std::string& command = args[0];
    if (command == "pack" && args.size() == 3) return pack(args[1], args[2]);
    if (command == "list" && args.size() == 2) return list(args[1]);
    if (command == "extract" && args.size() == 3) return extract(args[1], args[2]);
    if (command == "cat" && args.size() == 3) return cat(args[1], args[2]);
    if (command == "check" && args.size() >= 2) return check(args);
    if (command == "saves" && (args.size() == 2 || (args.size() == 3 && args[1] == "--json") ||
                               (args.size() == 4 && args[1] == "--diff")))
        return showSaves(args);
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    return runToolCommand("stftool", kUsage, argc, argv, runCommand);
}
