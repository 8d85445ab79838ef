#pragma once

// How long a RIFF wave file sounds, read from its header: the data chunk's size over the format
// chunk's bytes a second. A player without a clock of its own (the headless one) knows from it
// when a voice has ended.

#include <cstdint>
#include <filesystem>
#include <optional>

namespace corvan {

// Milliseconds, or nullopt for a file that is not a readable wave file.
std::optional<std::int64_t> waveMilliseconds(const std::filesystem::path& file);

}  // namespace corvan
