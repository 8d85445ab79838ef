#pragma once

// The names of the events the game reports through Host::traceEvent when something fails that
// the player would only see as a frozen or unchanged screen. The headless player logs every
// event; the game program prints these on standard error when asked to (--debug).

#include <array>
#include <string_view>

namespace corvan::trace {

// "chunk-missing NAME (by chain from main)": a chunk the archive does not hold was asked for.
inline constexpr std::string_view kChunkMissing = "chunk-missing";
// "label-missing NAME in CHUNK": a jump found no label; the script went on with the next line.
inline constexpr std::string_view kLabelMissing = "label-missing";
// "picture-missing GRA/A/A009.PRS", "voice-missing NAME": a file named by the script is not in
// the game folder.
inline constexpr std::string_view kPictureMissing = "picture-missing";
inline constexpr std::string_view kVoiceMissing = "voice-missing";
// A picture, a chunk or the archive's directory that is there but damaged.
inline constexpr std::string_view kPictureError = "picture-error";
inline constexpr std::string_view kChunkError = "chunk-error";
inline constexpr std::string_view kArchiveError = "archive-error";
// "script-stop CHUNK": the script ran off the end of its chunk and nothing runs any more.
inline constexpr std::string_view kScriptStop = "script-stop";
// "script-loop CHUNK:LINE": the script goes round a loop it can never leave, showing nothing.
inline constexpr std::string_view kScriptLoop = "script-loop";
// "warning TEXT": a problem the player is told of in any case.
inline constexpr std::string_view kWarning = "warning";

// Who asked for a chunk, as the chunk-missing event names it.
inline constexpr std::string_view kByChain = "chain";
inline constexpr std::string_view kByCall = "call";
inline constexpr std::string_view kByMessage = "mess";

// True for the events above: the first word of `line` is one of their names.
inline bool isProblem(std::string_view line) {
    static constexpr std::array<std::string_view, 10> kProblems{
        kChunkMissing, kLabelMissing, kPictureMissing, kVoiceMissing, kPictureError,
        kChunkError,   kArchiveError, kScriptStop,     kScriptLoop,   kWarning};
    const std::string_view name = line.substr(0, line.find(' '));
    for (std::string_view problem : kProblems) {
        if (name == problem) return true;
    }
    return false;
}

}  // namespace corvan::trace
