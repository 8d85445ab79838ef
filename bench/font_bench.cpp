// How fast a full line of message text is drawn. In the fast text speed the game draws a whole
// line (up to 30 full-width characters, twice each for the shadow) within one 20 ms idle call.

#include <benchmark/benchmark.h>

#include <string>

#include "render/font.h"

namespace {

using namespace corvan;

// 30 two-byte characters: a repeating run of kana and kanji in code page 932.
std::string lineOf30() {
    const std::string pieces[] = {"\x82\xA0", "\x82\xA2", "\x8A\xBF",
                                  "\x8E\x9A", "\x83\x4A", "\x81\x42"};  // あ い 漢 字 カ 。
    std::string line;
    for (int i = 0; i < 30; ++i) line += pieces[i % 6];
    return line;
}

void BM_DrawLineOf30FullWidthCharacters(benchmark::State& state) {
    TextRenderer renderer;
    Bitmap frame(576, 96);
    const FontSpec font{"ＭＳ ゴシック", 16, true};
    const std::string line = lineOf30();
    renderer.drawText(frame, 12, 10, line, font, 0xFFFFFF);  // the glyphs are cached from here on
    for (auto _ : state) {
        benchmark::DoNotOptimize(renderer.drawText(frame, 12, 10, line, font, 0xFFFFFF));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 30);
}
BENCHMARK(BM_DrawLineOf30FullWidthCharacters);

// The first drawing of a line in a new renderer: every glyph rendered by FreeType.
void BM_DrawLineOf30Uncached(benchmark::State& state) {
    const FontSpec font{"ＭＳ ゴシック", 16, true};
    const std::string line = lineOf30();
    Bitmap frame(576, 96);
    TextRenderer warm;  // fontconfig's own caches are warm; this renderer's glyphs are not
    warm.drawText(frame, 12, 10, line, font, 0xFFFFFF);
    for (auto _ : state) {
        state.PauseTiming();
        TextRenderer renderer;
        // Opens the face without caching any glyph that the line uses.
        renderer.textWidth("A", {"ＭＳ ゴシック", 15, false});
        state.ResumeTiming();
        benchmark::DoNotOptimize(renderer.drawText(frame, 12, 10, line, font, 0xFFFFFF));
    }
}
BENCHMARK(BM_DrawLineOf30Uncached)->Unit(benchmark::kMicrosecond)->Iterations(50);

}  // namespace
