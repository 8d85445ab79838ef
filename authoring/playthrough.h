#pragma once

// One play of a game for the route explorer (route_explorer.h): a fresh headless game on its own
// save folder, played from the start to the next choice point or to where the route ends, and
// the choices it makes there.

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "headless/replay.h"
#include "hotel/hotel_plates.h"
#include "authoring/route_explorer.h"

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
    std::uint64_t key = 0;
};

// Where a stretch of play between two choices ends: at a choice, or at the route's end.
struct Outcome {
    std::optional<Decision> decision;
    RouteEnd end;
    enum class Class { Ending, Stuck, Loop } endClass = Class::Ending;
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

// The state a choice point is known by: the chunk and position, the run state and the
// variables. Pictures, sounds and the text on screen do not change where the story goes.
std::uint64_t stateKey(const Game& g);

// One play of the game from the start, on a fresh save folder. `coverage` gets the offset of
// every line the game fetches, by chunk.
class Playthrough {
public:
    // `pictures` keeps the decoded pictures from play to play.
    Playthrough(const std::filesystem::path& gameDir, const std::filesystem::path& saveDir,
                std::map<std::string, std::set<std::int32_t>>& coverage,
                std::shared_ptr<PictureCache> pictures);

    // `hotelChoices`: the hotel menu is a choice point; `hotelWalk`: the hotel is walked at
    // all (its menu ends the route only because the route has used up its visits).
    Outcome advance(bool hotelChoices, bool hotelWalk, int maxClicks);
    void choose(const Decision& decision, int option);

private:
    Outcome finish(std::string kind, Outcome::Class endClass, std::string detail,
                   std::string where = {});
    std::optional<Outcome> endFromEvents();
    Decision decisionHere(DecisionKind kind);
    void click(hotel::Point p) { player_.click(MouseButton::Left, p.x, p.y); }

    // "CHUNK:LINE" of the line the script ran last.
    std::string here();

    struct Event {
        std::string line;
        std::string where;
    };
    HeadlessPlayer player_;
    std::vector<Event> events_;
    std::size_t eventsSeen_ = 0;
};

}  // namespace corvan::explore
