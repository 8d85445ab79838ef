# Lays out the site around the game module (web/CMakeLists.txt): the page's files, the demo game
# under game/ with game/manifest.json listing its files and sizes (a web server lists no folder),
# the synthesiser with its licences, and the soundfont.
#   cmake -DGAME=... -DSITE=... -DPAGE=web/site -DNPM=.../node_modules -DSOUNDFONT=... -P site.cmake
file(GLOB page_files ${PAGE}/*)
file(COPY ${page_files} DESTINATION ${SITE})
file(MAKE_DIRECTORY ${SITE}/synth)
file(COPY
    ${NPM}/js-synthesizer/dist/js-synthesizer.min.js
    ${NPM}/js-synthesizer/dist/js-synthesizer.worklet.min.js
    ${NPM}/js-synthesizer/externals/libfluidsynth-2.4.6.js
    ${NPM}/js-synthesizer/externals/LICENSE.fluidsynth.txt
    ${SOUNDFONT}
    DESTINATION ${SITE}/synth)
file(COPY_FILE ${NPM}/js-synthesizer/LICENSE ${SITE}/synth/LICENSE.js-synthesizer.txt)

# Only the game's own files, in any letter case: not the settings, saves or programs that a
# desktop run or a disc left beside them.
file(REMOVE_RECURSE ${SITE}/game)
file(MAKE_DIRECTORY ${SITE}/game)
set(entries "")
file(GLOB_RECURSE files RELATIVE ${GAME} ${GAME}/*)
list(SORT files)
foreach(file IN LISTS files)
    string(TOLOWER "${file}" name)
    if(NOT name MATCHES "^(mg_data\\.stf|gra/|midi/|wave/)")
        continue()
    endif()
    get_filename_component(folder ${file} DIRECTORY)
    file(COPY ${GAME}/${file} DESTINATION ${SITE}/game/${folder})
    file(SIZE ${GAME}/${file} size)
    if(entries)
        string(APPEND entries ",\n")
    endif()
    string(REPLACE "\\" "\\\\" quoted "${file}")
    string(REPLACE "\"" "\\\"" quoted "${quoted}")
    string(APPEND entries "  [\"${quoted}\", ${size}]")
endforeach()
file(WRITE ${SITE}/game/manifest.json "[\n${entries}\n]\n")
