#pragma once

// The script's 24 command keywords, in the order the game matches them, with the column where
// each command's argument starts. The interpreter dispatches on this table and the script
// checker reads scripts with it, so both agree on what a command line means.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace corvan {

// clang-format off
enum class CommandId {
    Gra, Music, Voice, Go, Clrb, FlagOn, FlagOff, Select, Chain, IfOn, IfOff, Calc, If, Mess,
    Call, End, Mode, Load, GameInit, Grb, Move, Special, GameClr, View,
};
// clang-format on

struct CommandKeyword {
    std::string_view keyword;  // matched in full, trailing blank included
    int column;                // where the argument starts (the '*' is column 0); 0 for none
    CommandId id;
};

inline constexpr std::array<CommandKeyword, 24> kCommandKeywords{{
    {"gra ", 5, CommandId::Gra},
    {"music ", 7, CommandId::Music},
    {"voice ", 7, CommandId::Voice},
    {"go ", 4, CommandId::Go},
    {"clrb", 6, CommandId::Clrb},
    {"flag_on ", 9, CommandId::FlagOn},
    {"flag_off ", 10, CommandId::FlagOff},
    {"select ", 8, CommandId::Select},
    {"chain ", 7, CommandId::Chain},
    {"if_on ", 7, CommandId::IfOn},
    {"if_off ", 8, CommandId::IfOff},
    {"calc ", 6, CommandId::Calc},
    {"if ", 4, CommandId::If},
    {"mess ", 6, CommandId::Mess},
    {"call ", 6, CommandId::Call},
    {"end", 0, CommandId::End},
    {"mode ", 6, CommandId::Mode},
    {"load", 0, CommandId::Load},
    {"gameinit", 0, CommandId::GameInit},
    {"grb ", 5, CommandId::Grb},
    {"move", 0, CommandId::Move},
    {"special ", 9, CommandId::Special},
    {"gameclr", 0, CommandId::GameClr},
    {"view", 6, CommandId::View},
}};

// The first keyword that the bytes after a command line's '*' begin with (ASCII letters
// folded); `available` is how many bytes follow the '*' before the line's end. nullptr when
// none does: the game skips such a line.
const CommandKeyword* matchCommandKeyword(const std::uint8_t* afterStar, std::size_t available);

// Whether a command only steers the story (jumps, calls, chapters, variables, sound) and puts
// nothing on the screen nor waits for the player.
bool commandShowsNothing(CommandId id);

// `if_on` and `if_off` read their flag number at `column` and take the label after the first
// blank in the columns after it up to column 15. The label's column, or 0 when there is no
// such blank: the command then never jumps.
int flagJumpLabelColumn(const std::uint8_t* line, int column);

}  // namespace corvan
