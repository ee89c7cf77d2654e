#pragma once
#include "tools/assetgen/sound.h"

// The five effects, mono, brought to one loudness (the gravity tick well below it).

// "plop.ogg": the stack lands or drops: a soft wooden thud.
SoundClip MakePlop();
// "explode.ogg": a blast: a deep boom with a crackling, darkening tail.
SoundClip MakeExplode();
// "switch.ogg": the stack turns over: a whoosh sweeping down and a two-note chime.
SoundClip MakeSwitch();
// "falling.ogg": every gravity step: a short, soft, low tick.
SoundClip MakeFalling();
// "blip.ogg": a menu click: two quick rising tones.
SoundClip MakeBlip();

// Loudness the effects are brought to (highest 50 ms RMS, dB full scale).
constexpr double kEffectLoudness = -13;
constexpr double kTickLoudness = -25;
