// Reading a game's chunks for the checker, from an archive or from the script files it is packed
// from, and writing the findings as lines or as JSON.

#include <algorithm>
#include <map>
#include <sstream>
#include <system_error>

#include "authoring/script_check.h"
#include "engine/archive.h"
#include "engine/cp932.h"
#include "headless/state_json.h"

namespace corvan {

bool readArchiveForCheck(const std::filesystem::path& path, ScriptCheckInput& input,
                         std::string& error) {
    Archive archive;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec) || !archive.loadDirectory(path)) {
        error = "cannot read the archive " + path.string();
        return false;
    }
    const std::string file = path.filename().string();
    if (archive.directoryBytesRead() < Archive::kDirectorySize) {
        input.readProblems.push_back(
            {file, "", 0, Severity::Error,
             "the archive is " + std::to_string(archive.directoryBytesRead()) +
                 " bytes, shorter than its " + std::to_string(Archive::kDirectorySize) +
                 "-byte directory: the entries past its end are lost"});
    }
    std::vector<std::uint8_t> buffer(Archive::kMaxChunkLength);
    for (int i = 0; i < Archive::kEntryCount; ++i) {
        const ArchiveEntry entry = archive.entry(i);
        if (entry.nameView().empty() && entry.offset == 0 && entry.length == 0) continue;
        ChunkSource chunk{std::string(entry.nameView()), ""};
        std::string problem;
        const int length = archive.readChunk(i, buffer.data(), problem);
        if (length < 0) {
            input.readProblems.push_back({cp932ToUtf8(chunk.name), "", 0, Severity::Error,
                                          "entry " + std::to_string(i) + ": " + problem});
        } else {
            chunk.bytes.assign(buffer.begin(), buffer.begin() + length);
        }
        input.chunks.push_back(std::move(chunk));
    }
    return true;
}

bool readSourcesForCheck(const std::filesystem::path& folder, ScriptCheckInput& input,
                         std::string& error) {
    std::vector<SourceProblem> problems;
    if (!readChunkSources(folder, input.chunks, input.files, problems, error)) return false;
    for (const SourceProblem& problem : problems) {
        std::string chunk = std::filesystem::path(problem.file).stem().string();
        input.readProblems.push_back(
            {chunk, problem.file, problem.line, Severity::Error, problem.what});
    }
    return true;
}

namespace {

const char* severityName(Severity severity) {
    return severity == Severity::Error     ? "error"
           : severity == Severity::Warning ? "warning"
                                           : "note";
}

// Findings that say the same thing more often than this are shown once, with where the others
// are on one line: a large story's repeated warning takes a line, not a screen.
constexpr std::size_t kGroupedAfter = 3;
constexpr std::size_t kPlacesShown = 8;

// What a finding says without the names and numbers in it: digits, quoted text and label names
// left out.
std::string gist(const Finding& f) {
    std::string out = severityName(f.severity);
    out += ':';
    bool quoted = false;
    bool label = false;
    for (const char c : f.message) {
        if (c == '"') {
            quoted = !quoted;
            out += c;
            continue;
        }
        if (label && (c == ' ' || c == ')')) label = false;
        if (c == ':' && !quoted) label = true;
        if (quoted || (label && c != ':') || (c >= '0' && c <= '9')) continue;
        out += c;
    }
    return out;
}

std::string place(const Finding& f) {
    std::string out = f.file.empty() ? f.chunk : f.file;
    if (f.line > 0) out += ':' + std::to_string(f.line);
    return out;
}

}  // namespace

std::string formatFindings(const std::vector<Finding>& findings) {
    std::map<std::string, std::vector<std::size_t>> groups;
    for (std::size_t i = 0; i < findings.size(); ++i) groups[gist(findings[i])].push_back(i);
    std::ostringstream out;
    for (std::size_t i = 0; i < findings.size(); ++i) {
        const Finding& f = findings[i];
        const std::vector<std::size_t>& group = groups[gist(f)];
        const bool grouped = group.size() > kGroupedAfter;
        if (grouped && group.front() != i) continue;
        out << place(f) << ": " << severityName(f.severity) << ": " << f.message << '\n';
        if (!grouped) continue;
        out << "  ... and " << group.size() - 1 << " more like it:";
        for (std::size_t k = 1; k < group.size() && k <= kPlacesShown; ++k)
            out << ' ' << place(findings[group[k]]);
        out << (group.size() - 1 > kPlacesShown ? " ... (--json lists them all)\n" : "\n");
    }
    return out.str();
}

std::string findingsJson(const std::vector<Finding>& findings) {
    std::ostringstream out;
    int errors = 0;
    out << "{\n  \"findings\": [";
    for (std::size_t i = 0; i < findings.size(); ++i) {
        const Finding& f = findings[i];
        if (f.severity == Severity::Error) ++errors;
        out << (i == 0 ? "\n" : ",\n") << "    {\"chunk\": " << jsonString(f.chunk)
            << ", \"file\": " << jsonString(f.file) << ", \"line\": " << f.line
            << ", \"severity\": \"" << severityName(f.severity)
            << "\", \"message\": " << jsonString(f.message) << "}";
    }
    out << (findings.empty() ? "]" : "\n  ]") << ",\n  \"errors\": " << errors
        << ",\n  \"warnings\": "
        << std::count_if(findings.begin(), findings.end(),
                         [](const Finding& f) { return f.severity == Severity::Warning; })
        << ",\n  \"notes\": "
        << std::count_if(findings.begin(), findings.end(),
                         [](const Finding& f) { return f.severity == Severity::Note; })
        << "\n}\n";
    return out.str();
}

}  // namespace corvan
