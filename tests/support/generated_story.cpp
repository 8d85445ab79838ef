#include "tests/support/generated_story.h"

#include <fstream>

#include "authoring/stf_pack.h"

namespace corvan::test {

namespace {

// A small generator of its own, so that a story is the same on every machine.
class Dice {
public:
    explicit Dice(std::uint32_t seed) : state_(seed * 2654435761u + 1) {}
    int roll(int low, int high) {
        state_ = state_ * 1664525u + 1013904223u;
        return low + static_cast<int>((state_ >> 8) % static_cast<std::uint32_t>(high - low + 1));
    }

private:
    std::uint32_t state_;
};

constexpr const char* kSentences[] = {
    "廊下の灯りが一つずつ消えていく。", "窓の外では雪が降りつづいている。",
    "フロントの時計が小さく鳴った。",   "階段の手すりはまだ冷たい。",
    "誰かが遠くで扉を閉める音がする。", "古い写真の裏に、鉛筆の文字がある。",
    "エレベーターが静かに止まった。",   "絨毯の上に、小さな鍵が落ちている。",
};

// Lines of a script, counted so that the line of an ending is known.
class Script {
public:
    void line(const std::string& text) {
        text_ += text + "\n";
        ++lines_;
    }
    int lines() const { return lines_; }
    const std::string& text() const { return text_; }

private:
    std::string text_;
    int lines_ = 0;
};

std::string chunkName(int k) {
    if (k == 0) return "main";
    std::string digits = std::to_string(k % 10000);
    return "s" + std::string(4 - digits.size(), '0') + digits;
}

void page(Script& s, Dice& dice, int lines) {
    for (int i = 0; i < lines; ++i) {
        const std::string sentence = kSentences[dice.roll(0, 7)];
        s.line(sentence + (i + 1 == lines ? "▼" : ""));
    }
}

}  // namespace

GeneratedStory generateStory(int total, std::uint32_t seed) {
    GeneratedStory story;
    Dice dice(seed);
    // Every 25th chunk has an ending chunk of its own; the two together make `total`.
    auto endingsBefore = [](int chunks) { return chunks > 7 ? (chunks - 8) / 25 + 1 : 0; };
    int chunks = total;
    while (chunks + endingsBefore(chunks) > total) --chunks;
    for (int k = 0; k < chunks; ++k) {
        Script s;
        const int flag = 100 + k % 800;
        const int previousFlag = 100 + (k + 799) % 800;
        const int target = dice.roll(20, 50);
        s.line("; a generated chunk");
        s.line("*calc V020=0");
        // The flag the previous chunk's first choice may have set is tested once, here, and
        // cleared for the chunk 800 on that uses its number again.
        if (k > 0) {
            s.line("*if_on " + std::to_string(previousFlag) + " remembered");
            s.line("前の部屋のことは、もう覚えていない。▼");
            s.line(":remembered");
            s.line("*flag_off " + std::to_string(previousFlag));
        }
        const int menus = dice.roll(1, 3);
        const bool endingHere = k % 25 == 7;
        for (int m = 0; m < menus; ++m) {
            page(s, dice, dice.roll(1, 4));
            const int rows = dice.roll(2, 3);
            const bool ending = endingHere && m == 0;
            s.line("*select " + std::to_string(rows + (ending ? 1 : 0)));
            for (int r = 1; r <= rows; ++r) s.line("選ぶ道 " + std::to_string(r));
            if (ending) s.line("ここで帰る");
            for (int r = 1; r <= rows; ++r) {
                s.line(":CASE" + std::to_string(r));
                page(s, dice, dice.roll(1, 2));
                if (m == 0 && r == 2) s.line("*flag_on " + std::to_string(flag));
                if (m + 1 == menus && r == 1) s.line("*calc V020=V020+1");
            }
            if (ending) {
                s.line(":CASE" + std::to_string(rows + 1));
                s.line("*chain e" + std::to_string(k));
            }
            s.line(":end");
            ++story.choiceMenus;
        }
        s.line("*if V020>0 counted");
        s.line("数えるものは何もなかった。▼");
        s.line(":counted");
        while (s.lines() < target - 1) page(s, dice, 1);
        if (k + 1 < chunks) {
            s.line("*chain " + chunkName(k + 1));
        } else {
            s.line("物語はここで終わる。▼");
            story.endings.insert("story-end at " + chunkName(k) + ":" + std::to_string(s.lines()));
        }
        story.scripts.emplace_back(chunkName(k), s.text());
        if (endingHere) {
            Script e;
            page(e, dice, 3);
            e.line("*gameclr");
            story.endings.insert("game-clear at e" + std::to_string(k) + ":" +
                                 std::to_string(e.lines()));
            story.scripts.emplace_back("e" + std::to_string(k), e.text());
        }
    }
    return story;
}

GeneratedStory generateFlagStory(int choices) {
    GeneratedStory story;
    Script s;
    for (int c = 1; c <= choices; ++c) {
        s.line("扉が二つある。▼");
        s.line("*select 2");
        s.line("右の扉");
        s.line("左の扉");
        s.line(":CASE1");
        s.line("*flag_on " + std::to_string(100 + c));
        s.line("右へ進んだ。▼");
        s.line(":CASE2");
        s.line("左へ進んだ。▼");
        s.line(":end");
        ++story.choiceMenus;
    }
    s.line("*if_on 101 right");
    s.line("最初に左を選んだ。▼");
    s.line("*gameclr");
    story.endings.insert("game-clear at main:" + std::to_string(s.lines()));
    s.line(":right");
    s.line("最初に右を選んだ。▼");
    story.endings.insert("story-end at main:" + std::to_string(s.lines()));
    story.scripts.emplace_back("main", s.text());
    return story;
}

bool writeStoryGame(const GeneratedStory& story, const std::filesystem::path& folder,
                    std::string& error) {
    std::vector<ChunkSource> chunks;
    for (const auto& [name, text] : story.scripts) {
        const auto bytes = scriptLinesFromText(text, true, error);
        if (!bytes) return false;
        chunks.push_back({name, *bytes});
    }
    const auto archive = buildArchive(chunks, error);
    if (!archive) return false;
    std::ofstream out(folder / "mg_data.stf", std::ios::binary);
    out.write(reinterpret_cast<const char*>(archive->data()),
              static_cast<std::streamsize>(archive->size()));
    if (!out) error = "cannot write " + (folder / "mg_data.stf").string();
    return static_cast<bool>(out);
}

}  // namespace corvan::test
