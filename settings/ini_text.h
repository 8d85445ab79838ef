#pragma once

// The INI text of the settings file, read and changed without losing a byte of it. A player
// keeps this file by hand, so every line the program does not own (comments, blank lines,
// other sections, unknown keys, bytes that are not UTF-8, CRLF line ends, a byte order mark)
// stays exactly as written.
//
// Reading: a value is the whole text after the first '=' of its line, with only the blanks
// (spaces and tabs) around the '=' and at the line's end taken off; commas and quotes are part
// of it. Lines starting with ';' or '#' are comments. Section and key names match without
// regard to ASCII letter case; the first line of a key wins.

#include <optional>
#include <string>
#include <string_view>

namespace corvan {

// The value of `key` in `section`, or nullopt when the section or the key is not there.
std::optional<std::string> iniValue(std::string_view text, std::string_view section,
                                    std::string_view key);

// `text` with the value of `key` in `section` set: only the value of the key's line changes,
// or, for a new key, one line is added after the section's last key (the section is added at
// the end when missing). New lines end the way the file's lines do.
std::string withIniValue(std::string_view text, std::string_view section, std::string_view key,
                         std::string_view value);

// True when `value` reads back from the file exactly as written: no line break and no blank at
// either end (those the reader would cut off).
bool storableIniValue(std::string_view value);

}  // namespace corvan
