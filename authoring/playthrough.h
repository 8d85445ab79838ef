#pragma once

// The game the route explorer plays (authoring/route_explorer.h): one headless game, played
// from a choice point to the next one or to where the route ends. At each choice point the
// explorer takes the game's state (`save`) and puts it back (`restore`) before it tries the
// next option, instead of playing the game again from its start.

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "authoring/route_explorer.h"
#include "authoring/script_flow.h"
#include "game/snapshot.h"
#include "headless/replay.h"
#include "hotel/hotel_plates.h"

namespace corvan::explore {

enum class DecisionKind { Choice, HotelMenu, FloorMap };

struct Option {
    int number = 0;
    std::string text;
};

// A point where the player chooses.
struct Decision {
    DecisionKind kind = DecisionKind::Choice;
    std::string chunk;
    int line = 0;
    std::vector<Option> options;
    std::uint64_t key = 0;  // the state it is known by (Playthrough::stateKey)
    int chunkIndex = -1;    // where it is in the script's flow graph
    int lineIndex = 0;
};

// Where a stretch of play between two choices ends: at a choice, or at the route's end.
struct Outcome {
    std::optional<Decision> decision;
    RouteEnd end;
    enum class Class { Ending, Stuck, Loop, Cutoff } endClass = Class::Ending;
};

// FNV-1a over the parts of the game that decide what it does next.
class StateHash {
public:
    void bytes(const void* data, std::size_t size) {
        const auto* p = static_cast<const std::uint8_t*>(data);
        for (std::size_t i = 0; i < size; ++i) hash_ = (hash_ ^ p[i]) * 1099511628211u;
    }
    template <typename T>
    void value(const T& v) {
        bytes(&v, sizeof v);
    }
    void text(const std::string& s) {
        value(s.size());
        bytes(s.data(), s.size());
    }
    std::uint64_t result() const { return hash_; }

private:
    std::uint64_t hash_ = 14695981039346656037u;
};

class Playthrough {
public:
    // `coverage` gets the offset of every line the game fetches, by chunk; `flow` says which
    // variables a state is compared on.
    Playthrough(const std::filesystem::path& gameDir, const std::filesystem::path& saveDir,
                std::map<std::string, std::set<std::int32_t>>& coverage, const ScriptFlow& flow);

    // Starts the game and plays to the first choice.
    Outcome start(int maxClicks);
    // Takes `option` of `decision` (the one the game waits at) and plays to the next choice.
    Outcome choose(const Decision& decision, int option, int maxClicks);

    GameSnapshot save() const { return player_->game().TakeSnapshot(); }
    void restore(const GameSnapshot& point);

    // The problems met since the last call: label-missing, chunk-missing, script-loop.
    std::vector<RouteEnd> takeProblems();

private:
    Outcome advance(int maxClicks);
    Outcome finish(std::string kind, Outcome::Class endClass, std::string detail,
                   std::string where = {});
    std::optional<Outcome> endFromEvents();
    Decision decisionHere(DecisionKind kind);
    std::uint64_t stateKey(int chunk, int line) const;
    void click(hotel::Point p) { player_->click(MouseButton::Left, p.x, p.y); }
    void newPlayer();

    struct Event {
        std::string line;
        std::string where;
    };
    std::filesystem::path gameDir_;
    std::filesystem::path saveDir_;
    std::map<std::string, std::set<std::int32_t>>& coverage_;
    const ScriptFlow& flow_;
    std::shared_ptr<PictureCache> pictures_ = std::make_shared<PictureCache>();
    std::unique_ptr<HeadlessPlayer> player_;
    std::vector<Event> events_;
    std::size_t eventsSeen_ = 0;
    std::vector<RouteEnd> problems_;
    // What a cleared game, a save or a load wrote outside the game: the save folder's files as
    // start-up left them are put back before the next option.
    bool outsideChanged_ = false;
    std::map<std::filesystem::path, std::string> startFiles_;
};

}  // namespace corvan::explore
