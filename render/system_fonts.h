#pragma once

// The desktop's glyph source: the installed fonts, found by fontconfig with the game's Windows
// face names mapped to the IPA fonts, rendered by FreeType (render/font_faces.h). Not part of the
// browser's build, whose glyphs come from an atlas made with this very source.

#include <memory>
#include <vector>

#include "render/font.h"

namespace corvan {

std::unique_ptr<GlyphSource> systemGlyphs(std::vector<FontAlias> aliases = defaultFontAliases());

// One text drawer on the system's fonts for every game in the process: its fonts and glyph cache
// cost more to make than any game needs to repeat.
TextRenderer& systemTextRenderer();

}  // namespace corvan
