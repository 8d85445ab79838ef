# The text drawer: FreeType glyphs found through fontconfig.
