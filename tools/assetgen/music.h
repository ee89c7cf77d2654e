#pragma once
#include "tools/assetgen/sound.h"

// The two music tracks, stereo, each an exact whole number of bars that loops seamlessly.

// "game (half bit).ogg": the play track. A minor at 140 beats a minute, 32 bars (about 55 s):
// chip-style pulse lead and arpeggios over a plucked saw bass and a driving kit.
SoundClip MakeGameMusic();
// "title (space fighter loop).ogg": the title track. E minor at 90 beats a minute, 24 bars
// (64 s): wide pads, glassy echoing bells and a gliding lead over a sub bass and a sparse kit.
SoundClip MakeTitleMusic();
