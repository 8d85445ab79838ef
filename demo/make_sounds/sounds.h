#pragma once

// The demo game's music and voices, each written from notes or synthesised tones in code.

#include "demo/make_sounds/sound_files.h"

namespace corvan::demo_sounds {

// music.cpp: the five tracks, MIDI/01.MID to MIDI/05.MID.
Bytes hotelWaltz();    // 01 the hotel's theme: a slow waltz on a music box
Bytes nightRound();    // 02 the night round: vibraphone over soft strings, A minor
Bytes winterOf1959();  // 03 a memory: clarinet over a broken piano, F major
Bytes snowMorning();   // 04 the endings: a music box rising over strings, C major
Bytes clockTower();    // 05 the clock tower: plucked strings and far bells, D minor

// voices.cpp: the clips the story plays, and the two the menus play.
Bytes deskBell();      // 10001 the bell on the front desk
Bytes towerChime();    // 10002 the tower clock striking once
Bytes liftChime();     // 10003 the lift arriving: two tones
Bytes doorKnock();     // 10004 three knocks on a door
Bytes shutter();       // 10005 an old camera's shutter
Bytes footsteps();     // 10006 four steps on a wooden floor
Bytes paperRustle();   // 10007 a letter taken out of its envelope
Bytes clockWinding();  // 10008 the clockwork wound: a ratchet
Bytes menuOpens();     // 90022 a menu opens: a soft wooden tick
Bytes menuPick();      // 90023 a row is picked: a brighter click

}  // namespace corvan::demo_sounds
