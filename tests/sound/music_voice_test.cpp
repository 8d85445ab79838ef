// Music and voice: which files the game plays, when it starts, stops and restarts the music,
// how a voice is looked for, and that the silent build asks the players for nothing. The
// headless host's player plays nothing and remembers every call; a test says when its music
// has played to its end.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "game/game.h"
#include "sound/sound_files.h"
#include "support/test_game.h"

namespace corvan::test {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// A sound file at `relative` under the game folder: the fake player never plays it.
void touch(TestGame& t, const std::string& relative) {
    t.addSoundFiles({relative});
}

std::string openMusic(const TestGame& t, const std::string& relative) {
    return "open-music " + (t.gameDir() / relative).string();
}

std::string playVoice(const TestGame& t, const std::string& relative) {
    return "play-voice " + (t.gameDir() / relative).string();
}

const Lines& calls(TestGame& t) {
    return t.host().audioCalls();
}

// The timer ticks (counted from 1) on which the loop check asked whether the music stopped.
std::vector<int> queryTicks(TestGame& t, int ticks) {
    std::vector<int> asked;
    for (int tick = 1; tick <= ticks; ++tick) {
        const std::size_t before = calls(t).size();
        t.game().Timer1Timer();
        for (std::size_t i = before; i < calls(t).size(); ++i) {
            if (calls(t)[i] == "music-stopped?") asked.push_back(tick);
        }
    }
    return asked;
}

// Runs the story until it waits for the player.
void playOn(TestGame& t) {
    t.player().run();
}

// Ends the page wait with a click and runs on to the next wait.
void nextPage(TestGame& t) {
    t.player().click(MouseButton::Left, 320, 240);
    t.player().run();
}

Lines callsSince(TestGame& t, std::size_t from) {
    return Lines(calls(t).begin() + static_cast<std::ptrdiff_t>(from), calls(t).end());
}

// --- File names ---------------------------------------------------------------------------

TEST(MusicFileName, GivenTrackNumbers_ThenTheyArePaddedToAtLeastTwoDigits) {
    EXPECT_EQ(sound::musicFileName(7), "MIDI/07.MID");
    EXPECT_EQ(sound::musicFileName(12), "MIDI/12.MID");
    EXPECT_EQ(sound::musicFileName(123), "MIDI/123.MID");
}

TEST(VoiceName, GivenTextWithAnEnd_ThenTheNameStopsAtTheFirstBracketOrNul) {
    EXPECT_EQ(sound::voiceName("abc]and more text"), "abc");
    EXPECT_EQ(sound::voiceName(std::string_view("ab\0c]", 5)), "ab");
    EXPECT_EQ(sound::voiceName("90022"), "90022");
    EXPECT_EQ(sound::voiceName("]"), "");
}

TEST(VoiceName, GivenANameLongerThan15Bytes_ThenItIsCutTo15) {
    EXPECT_EQ(sound::voiceName("0123456789abcdefgh]"), "0123456789abcde");
}

TEST(VoiceFileNames, GivenAName_ThenTheFirstCharactersFolderComesBeforeTheWaveFolder) {
    EXPECT_EQ(sound::voiceFileNames("90022"),
              (std::array<std::string, 2>{"wave/9/90022.wav", "wave/90022.wav"}));
    EXPECT_EQ(sound::voiceFileNames("a"),
              (std::array<std::string, 2>{"wave/a/a.wav", "wave/a.wav"}));
    EXPECT_EQ(sound::voiceFileNames(""), (std::array<std::string, 2>{"wave/", "wave/.wav"}));
}

// --- PlayMusic ----------------------------------------------------------------------------

TEST(PlayMusic, GivenANewTrack_ThenItsFileIsOpenedRewoundAndPlayedAndBecomesCurrent) {
    TestGame t({chunk("main", "*music 7\nA\n")});
    touch(t, "MIDI/07.MID");
    Game& g = t.start();
    playOn(t);
    EXPECT_EQ(calls(t), (Lines{openMusic(t, "MIDI/07.MID"), "rewind-music", "play-music"}));
    EXPECT_EQ(g.currentTrack, 7);
    EXPECT_EQ(t.events("music"), Lines{" 7"});
}

TEST(PlayMusic, GivenFilesInOtherLetterCase_ThenTheyAreFoundAnyway) {
    TestGame t({chunk("main", "*music 12\n*music 123\nA\n")});
    touch(t, "midi/12.mid");
    touch(t, "midi/123.Mid");
    t.start();
    playOn(t);
    EXPECT_EQ(calls(t), (Lines{openMusic(t, "midi/12.mid"), "rewind-music", "play-music",
                               openMusic(t, "midi/123.Mid"), "rewind-music", "play-music"}));
}

TEST(PlayMusic, GivenNoFileForTheTrack_ThenThePlayerIsAskedForTheDocumentedPathAnyway) {
    TestGame t({chunk("main", "*music 7\nA\n")});
    t.start();
    playOn(t);
    ASSERT_FALSE(calls(t).empty());
    EXPECT_EQ(calls(t)[0], openMusic(t, "MIDI/07.MID"));
}

TEST(PlayMusic, GivenTheCurrentTrackAgain_ThenNothingRestartsIt) {
    TestGame t({chunk("main", "*music 3\n*music 3\n*MUSIC 3\nA\n")});
    touch(t, "MIDI/03.MID");
    t.start();
    playOn(t);
    EXPECT_EQ(calls(t), (Lines{openMusic(t, "MIDI/03.MID"), "rewind-music", "play-music"}));
}

TEST(PlayMusic, GivenZeroWithNothingPlaying_ThenNothingHappens) {
    TestGame t({chunk("main", "*music 0\n*music abc\nA\n")});
    Game& g = t.start();
    playOn(t);
    EXPECT_TRUE(calls(t).empty());
    EXPECT_TRUE(t.events("music").empty());
    EXPECT_EQ(g.currentTrack, 0);
}

TEST(PlayMusic, GivenZeroWhilePlaying_ThenTheMusicStopsAndTheNextTrackOpensAnew) {
    TestGame t({chunk("main", "*music 3\n*music 0\nA▼\n*music 4\nB\n")});
    t.addSoundFiles({"MIDI/03.MID", "MIDI/04.MID"});
    Game& g = t.start();
    playOn(t);
    EXPECT_EQ(g.currentTrack, 0);
    EXPECT_EQ(calls(t).back(), "stop-music");
    EXPECT_EQ(t.events("music"), (Lines{" 3", "-stop"}));
    const std::size_t before = calls(t).size();
    nextPage(t);
    EXPECT_EQ(callsSince(t, before),
              (Lines{openMusic(t, "MIDI/04.MID"), "rewind-music", "play-music"}));
    EXPECT_EQ(g.currentTrack, 4);
}

TEST(PlayMusic, GivenBgmOff_ThenMusicRequestsAreIgnoredAndTheTrackKeepsItsNumber) {
    TestGame t({chunk("main", "*music 3\nA▼\n*music 5\n*music 0\nB\n")});
    t.addSoundFiles({"MIDI/03.MID", "MIDI/05.MID"});
    Game& g = t.start();
    playOn(t);
    t.player().setSetting("BGM", "1");
    const std::size_t before = calls(t).size();
    nextPage(t);
    EXPECT_EQ(t.textLines(), (Lines{"A▼", "B"}));
    EXPECT_TRUE(callsSince(t, before).empty());
    EXPECT_EQ(g.currentTrack, 3);
    EXPECT_EQ(t.events("music"), Lines{" 3"});
}

TEST(PlayMusic, GivenAFileThatCannotBeOpened_ThenAMessageNamesItWithTheReasonAndTheGameGoesOn) {
    // Whatever the player, a file that is missing or no MIDI file is told of in the same words.
    TestGame missing({chunk("main", "*music 8\n*music 10\nA\n")});
    writeText(missing.gameDir() / "MIDI/10.MID", "RIFF....WAVE");
    missing.start();
    playOn(missing);
    EXPECT_EQ(
        missing.events("msgbox "),
        (Lines{"コルヴァン|音楽ファイル MIDI/08.MID を開けません。\\nファイルが見つかりません。",
               "コルヴァン|音楽ファイル MIDI/10.MID を開けません。\\n標準 MIDI "
               "ファイルではありません。"}));
    EXPECT_EQ(missing.events("warning 音楽ファイル MIDI/08.MID").size(), 1u);  // standard error
    EXPECT_TRUE(missing.events("music").empty());

    TestGame t({chunk("main", "*music 9\nA▼\n*music 9\nB\n")});
    touch(t, "MIDI/09.MID");
    t.host().setMusicOpenError("Couldn't open MIDI/09.MID");
    Game& g = t.start();
    playOn(t);
    EXPECT_EQ(
        t.events("msgbox "),
        Lines{"コルヴァン|音楽ファイル MIDI/09.MID を開けません。\\nCouldn't open MIDI/09.MID"});
    EXPECT_EQ(calls(t), Lines{openMusic(t, "MIDI/09.MID")});  // never played
    EXPECT_EQ(g.currentTrack, 0);
    EXPECT_EQ(t.textLines(), Lines{"A▼"});

    // The track never became current, so asking again tries again.
    t.host().setMusicOpenError("");
    nextPage(t);
    EXPECT_FALSE(t.host().windowClosed());
    EXPECT_EQ(t.textLines(), (Lines{"A▼", "B"}));
    EXPECT_EQ(g.currentTrack, 9);
    EXPECT_EQ(calls(t).back(), "play-music");
}

TEST(PlayMusic, GivenTheGameEnds_ThenThePlayingMusicIsStopped) {
    TestGame t({chunk("main", "*music 2\nA\n")});
    touch(t, "MIDI/02.MID");
    Game& g = t.start();
    playOn(t);
    g.FormDestroy();
    EXPECT_EQ(calls(t).back(), "stop-music");
    EXPECT_EQ(g.currentTrack, 0);
}

// --- PlayVoice ----------------------------------------------------------------------------

TEST(PlayVoice, GivenTheClipInItsFirstCharactersFolder_ThenThatOneIsPlayed) {
    TestGame t({chunk("main", "*voice 90022\nA\n")});
    touch(t, "wave/9/90022.wav");
    touch(t, "wave/90022.wav");
    t.start();
    playOn(t);
    EXPECT_EQ(calls(t), Lines{playVoice(t, "wave/9/90022.wav")});
}

TEST(PlayVoice, GivenTheClipOnlyInTheWaveFolder_ThenItIsPlayedFromThere) {
    TestGame t({chunk("main", "*voice 90022\nA\n")});
    touch(t, "wave/90022.wav");
    fs::create_directories(t.gameDir() / "wave/9");
    t.start();
    playOn(t);
    EXPECT_EQ(calls(t), Lines{playVoice(t, "wave/90022.wav")});
}

TEST(PlayVoice, GivenUpperCaseFolderAndFileNames_ThenTheClipIsFound) {
    TestGame t({chunk("main", "*voice a23\nA\n")});
    touch(t, "WAVE/A/A23.WAV");
    t.start();
    playOn(t);
    EXPECT_EQ(calls(t), Lines{playVoice(t, "WAVE/A/A23.WAV")});
}

TEST(PlayVoice, GivenAJapaneseNameOnADiscCopiedToLinux_ThenItsUtf8FileIsFoundInAnyCase) {
    TestGame t({chunk("main", "*voice あいさつ\n[voice なし]A\n")});
    touch(t, "WAVE/あいさつ.WAV");
    t.start();
    playOn(t);
    EXPECT_EQ(calls(t), Lines{playVoice(t, "WAVE/あいさつ.WAV")});
    // The log names what was heard and what was missing, in UTF-8.
    EXPECT_EQ(t.events("voice"), (Lines{" あいさつ", "-missing なし"}));
}

TEST(PlayVoice, GivenNoClipAnywhere_ThenNothingPlaysAndNothingIsSaid) {
    TestGame t({chunk("main", "*voice 10001\nA\n")});
    fs::create_directories(t.gameDir() / "wave/1");
    t.start();
    playOn(t);
    EXPECT_TRUE(calls(t).empty());
    EXPECT_TRUE(t.events("msgbox").empty());
    EXPECT_EQ(t.textLines(), Lines{"A"});
}

TEST(PlayVoice, GivenAnInlineTag_ThenTheNameEndsAtItsBracket) {
    TestGame t({chunk("main", "[voice abc]「やあ」\n")});
    touch(t, "wave/a/abc.wav");
    t.start();
    playOn(t);
    EXPECT_EQ(calls(t), Lines{playVoice(t, "wave/a/abc.wav")});
}

TEST(PlayVoice, GivenAnEmptyName_ThenTheWaveFolderItselfIsNoClipButWaveDotWavIs) {
    TestGame t({chunk("main", "*voice \nA▼\n*voice \nB\n")});
    fs::create_directories(t.gameDir() / "wave");
    t.start();
    playOn(t);
    EXPECT_TRUE(calls(t).empty());

    touch(t, "wave/.wav");
    nextPage(t);
    EXPECT_EQ(calls(t), Lines{playVoice(t, "wave/.wav")});
}

TEST(PlayVoice, GivenALongName_ThenItsFirst15BytesNameTheClip) {
    TestGame t({chunk("main", "*voice 0123456789abcdefgh\nA\n")});
    touch(t, "wave/0/0123456789abcde.wav");
    t.start();
    playOn(t);
    EXPECT_EQ(calls(t), Lines{playVoice(t, "wave/0/0123456789abcde.wav")});
}

TEST(PlayVoice, GivenWaveOff_ThenNoClipPlays) {
    TestGame t({chunk("main", "A▼\n*voice 90022\nB\n")});
    touch(t, "wave/9/90022.wav");
    t.start();
    playOn(t);
    t.player().setSetting("Wave", "1");
    nextPage(t);
    EXPECT_EQ(t.textLines(), (Lines{"A▼", "B"}));
    EXPECT_TRUE(calls(t).empty());
    EXPECT_TRUE(t.events("voice").empty());
}

TEST(PlayVoice, GivenASecondVoice_ThenItGoesToTheVoicePlayerAndTheMusicIsNotTouched) {
    TestGame t({chunk("main", "*music 1\n*voice 111\n*voice 222\nA\n")});
    t.addSoundFiles({"MIDI/01.MID"});
    touch(t, "wave/1/111.wav");
    touch(t, "wave/2/222.wav");
    Game& g = t.start();
    playOn(t);
    EXPECT_EQ(calls(t), (Lines{openMusic(t, "MIDI/01.MID"), "rewind-music", "play-music",
                               playVoice(t, "wave/1/111.wav"), playVoice(t, "wave/2/222.wav")}));
    EXPECT_EQ(g.currentTrack, 1);
}

TEST(PlayVoice, GivenAClipThePlayerRefuses_ThenAMessageShowsTheErrorAndTheGameGoesOn) {
    TestGame t({chunk("main", "*voice 5\nA\n")});
    touch(t, "wave/5/5.wav");
    t.host().setVoiceError("not a wave file");
    t.start();
    playOn(t);
    EXPECT_EQ(t.events("msgbox "),
              Lines{"コルヴァン|音声ファイル wave/5/5.wav を再生できません。\\nnot a wave file"});
    EXPECT_EQ(t.textLines(), Lines{"A"});
    EXPECT_FALSE(t.host().windowClosed());
}

// --- The loop check -----------------------------------------------------------------------

TEST(MusicLoopCheck, GivenBgmOn_ThenThePlayerIsAskedOnceEvery51Ticks) {
    TestGame t({chunk("main", "*music 3\nA\n")});
    t.addSoundFiles({"MIDI/03.MID"});
    t.start();
    t.step();
    EXPECT_EQ(queryTicks(t, 160), (std::vector<int>{51, 102, 153}));
}

TEST(MusicLoopCheck, GivenMusicStillPlaying_ThenItIsLeftAlone) {
    TestGame t({chunk("main", "*music 3\nA\n")});
    t.addSoundFiles({"MIDI/03.MID"});
    t.start();
    playOn(t);
    const std::size_t before = calls(t).size();
    queryTicks(t, 102);
    EXPECT_EQ(callsSince(t, before), (Lines{"music-stopped?", "music-stopped?"}));
}

TEST(MusicLoopCheck, GivenTheTrackEnds_ThenItPlaysAgainFromItsStartAtTheNextLook) {
    TestGame t({chunk("main", "*music 3\nA\n")});
    t.addSoundFiles({"MIDI/03.MID"});
    t.start();
    t.step();
    queryTicks(t, 60);
    t.host().endMusic();
    const std::size_t before = calls(t).size();
    // Ticks 61 to 101: no look yet; tick 102 looks and restarts.
    queryTicks(t, 41);
    EXPECT_EQ(calls(t).size(), before);
    t.game().Timer1Timer();
    EXPECT_EQ(callsSince(t, before), (Lines{"music-stopped?", "rewind-music", "play-music"}));
    EXPECT_FALSE(t.host().audio().musicStopped());
}

TEST(MusicLoopCheck, GivenTheMusicWasStoppedByTheScript_ThenItIsNotRestarted) {
    TestGame t({chunk("main", "*music 3\n*music 0\nA\n")});
    t.addSoundFiles({"MIDI/03.MID"});
    t.start();
    playOn(t);
    const std::size_t before = calls(t).size();
    queryTicks(t, 51);
    EXPECT_EQ(callsSince(t, before), Lines{"music-stopped?"});
}

TEST(MusicLoopCheck, GivenBgmOff_ThenThePlayerIsNeverAskedAndTheCountIsHeld) {
    TestGame t({chunk("main", "*music 3\nA\n")});
    t.addSoundFiles({"MIDI/03.MID"});
    Game& g = t.start();
    playOn(t);
    t.player().setSetting("BGM", "1");
    t.host().endMusic();
    EXPECT_TRUE(queryTicks(t, 300).empty());
    EXPECT_EQ(g.loopCountdown, sound::kLoopCheckTicks);
}

TEST(MusicLoopCheck, GivenBgmBackOn_ThenTheOldTrackRestartsEvenAfterSilenceWasAskedMeanwhile) {
    TestGame t({chunk("main", "*music 3\nA▼\n*music 0\nB\n")});
    t.addSoundFiles({"MIDI/03.MID"});
    Game& g = t.start();
    playOn(t);
    t.player().setSetting("BGM", "1");
    nextPage(t);
    ASSERT_EQ(t.textLines(), (Lines{"A▼", "B"}));
    EXPECT_EQ(g.currentTrack, 3);
    t.host().endMusic();
    queryTicks(t, 20);

    t.player().setSetting("BGM", "0");
    const std::size_t before = calls(t).size();
    // The held count of 50 runs down first: the look comes on the 50th tick.
    EXPECT_EQ(queryTicks(t, 50), std::vector<int>{50});
    EXPECT_EQ(callsSince(t, before), (Lines{"music-stopped?", "rewind-music", "play-music"}));
}

TEST(MusicLoopCheck, GivenATimedPause_ThenTheLoopCheckStillRuns) {
    TestGame t({chunk("main", "*music 3\nA\n")});
    t.addSoundFiles({"MIDI/03.MID"});
    Game& g = t.start();
    t.step();
    g.delayTicks = 1000;
    EXPECT_EQ(queryTicks(t, 51), std::vector<int>{51});
    EXPECT_EQ(g.delayTicks, 1000 - 51);
}

TEST(MusicLoopCheck, GivenNothingLeftToRestart_ThenTheFailureIsOnlyWarnedOf) {
    // Track 3 plays; track 4 cannot be opened, which closes track 3 but leaves it current.
    TestGame t({chunk("main", "*music 3\nA▼\n*music 4\nB\n")});
    t.addSoundFiles({"MIDI/03.MID"});
    Game& g = t.start();
    playOn(t);
    t.host().setMusicOpenError("Couldn't open MIDI/04.MID");
    nextPage(t);
    EXPECT_EQ(g.currentTrack, 3);
    t.host().setMusicOpenError("");
    const std::size_t boxes = t.events("msgbox").size();
    queryTicks(t, 51);
    EXPECT_EQ(calls(t).back(), "play-music");
    EXPECT_EQ(t.events("msgbox").size(), boxes);
    EXPECT_EQ(t.events("warning cannot play the music again").size(), 1u);
}

// --- Start-up and the silent build --------------------------------------------------------

TEST(SoundSetup, GivenTheGameStarts_ThenNoPlayerIsAskedForAnything) {
    TestGame t({chunk("main", "A\n")});
    Game& g = t.start();
    t.player().run();
    EXPECT_TRUE(calls(t).empty());
    EXPECT_EQ(g.currentTrack, 0);
}

TEST(SilentBuild, GivenMusicVoicesAndTicks_ThenNoPlayerIsEverCalled) {
    TestGame t({chunk("main", "*music 3\n*voice 111\n[voice 111]一\n*select 2\nx\ny\n")},
               GameOptions{.withSound = false});
    touch(t, "MIDI/03.MID");
    touch(t, "wave/1/111.wav");
    touch(t, "wave/9/90022.wav");
    Game& g = t.start();
    t.player().run();
    t.player().click(MouseButton::Left, 320, 240);
    t.player().run();
    EXPECT_EQ(g.menuKind, MenuKind::Choice);  // the script reached its menu
    for (int tick = 0; tick < 200; ++tick) g.Timer1Timer();
    g.FormDestroy();
    EXPECT_TRUE(calls(t).empty());
    EXPECT_TRUE(t.events("music").empty());
    EXPECT_TRUE(t.events("voice").empty());
    EXPECT_EQ(g.currentTrack, 0);
}

}  // namespace
}  // namespace corvan::test
