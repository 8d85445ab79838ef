# prstool, the picture tool for game authors.
