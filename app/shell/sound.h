#pragma once
#include <memory>

#include "system/list.h"

class TChannel;
class TSound;

// One sound effect started at the effect volume of the preferences; it stays in `sounds` until
// its channel has stopped.
class sound {
public:
    std::shared_ptr<TChannel> chan;

    // Starts snd on a new channel at soundvolume and registers it. A none sound registers an
    // effect without a channel, which the next Update drops.
    static std::shared_ptr<sound> Play(const std::shared_ptr<TSound>& snd);
    // Drops the effects whose channel has stopped. Every screen calls it once per frame, which
    // keeps `sounds` bounded.
    static void Update();
};

// Effects started and not yet found finished, in the order they were started.
extern TList<sound> sounds;

// Sounds loaded once at start-up by the shell and kept for the whole run, with the two music
// channels cued when their tracks are loaded.
struct TGameSounds {
    std::shared_ptr<TSound> plopsound;     // "sfx\plop.ogg"
    std::shared_ptr<TSound> explodesound;  // "sfx\explode.ogg"
    std::shared_ptr<TSound> switchsound;   // "sfx\switch.ogg"
    std::shared_ptr<TSound> fallingsound;  // "sfx\falling.ogg"
    std::shared_ptr<TSound> blipsound;     // "sfx\blip.ogg"
    std::shared_ptr<TSound> gamemusic;     // "sfx\game (half bit).ogg"
    std::shared_ptr<TSound> titlemusic;    // "sfx\title (space fighter loop).ogg"
    std::shared_ptr<TChannel> gamechannel;
    std::shared_ptr<TChannel> titlechannel;
};

extern TGameSounds gamesounds;

// Lets the rules start effects by file name: a name such as "sfx\falling.ogg" plays the matching
// loaded effect through sound::Play; other names play nothing.
void InstallRulesSounds();
