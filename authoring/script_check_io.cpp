// Reading a game's chunks for the checker, from an archive or from the script files it is packed
// from, and writing the findings as lines or as JSON.

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
    return severity == Severity::Error ? "error" : "warning";
}

}  // namespace

std::string formatFindings(const std::vector<Finding>& findings) {
    std::ostringstream out;
    for (const Finding& f : findings) {
        out << (f.file.empty() ? f.chunk : f.file);
        if (f.line > 0) out << ':' << f.line;
        out << ": " << severityName(f.severity) << ": " << f.message << '\n';
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
        << ",\n  \"warnings\": " << findings.size() - static_cast<std::size_t>(errors) << "\n}\n";
    return out.str();
}

}  // namespace corvan
