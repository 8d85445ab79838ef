#pragma once

// The sound output of the game program: a music player for standard MIDI files and a voice
// player for RIFF wave files, each holding at most one open file. The game reaches them through
// its host (`Host::audio`); the real program's host hands out players plugged in only in the
// build with music and voices, so the silent build carries no sound library.
//
// A player without a sound device accepts every call and plays nothing: the game goes on
// silently.

#include <filesystem>
#include <string>

namespace corvan {

class AudioOut {
public:
    virtual ~AudioOut() = default;

    // Closes the open music (if any) and opens this MIDI file at its start, not yet playing.
    // False with the player's error text when it cannot be opened; nothing is open then.
    virtual bool openMusic(const std::filesystem::path& file, std::string& error) = 0;
    // Puts the open music back to its start; music that was playing stops.
    virtual void rewindMusic() = 0;
    // Plays the open music from where it stands to its end, once, without waiting. False with
    // the player's error text when nothing can be played.
    virtual bool playMusic(std::string& error) = 0;
    // Stops the music where it is; the file stays open.
    virtual void stopMusic() = 0;
    // True when no music sounds: it has played to its end, was stopped, or none is open.
    virtual bool musicStopped() = 0;

    // Cuts off the voice that is sounding (if any), then plays this wave file once from its
    // start, without waiting; the music goes on under it. False with the player's error text
    // when the file cannot be played.
    virtual bool playVoice(const std::filesystem::path& file, std::string& error) = 0;
    // True while a voice sounds. Only the reader's auto-advance asks, to let a voice end before
    // the page turns; a player that cannot tell says no voice sounds.
    virtual bool voicePlaying() { return false; }
};

}  // namespace corvan
