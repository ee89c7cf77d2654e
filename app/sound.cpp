#include "app/sound.h"

#include <string>
#include <utility>

#include "audio/sound.h"
#include "game/settings.h"
#include "game/sounds.h"

TList<sound> sounds;

std::shared_ptr<TSound> plopsound;
std::shared_ptr<TSound> explodesound;
std::shared_ptr<TSound> switchsound;
std::shared_ptr<TSound> fallingsound;
std::shared_ptr<TSound> blipsound;
std::shared_ptr<TSound> gamemusic;
std::shared_ptr<TSound> titlemusic;
std::shared_ptr<TChannel> gamechannel;
std::shared_ptr<TChannel> titlechannel;

std::shared_ptr<sound> sound::Play(const std::shared_ptr<TSound>& snd)
{
    auto s = std::make_shared<sound>();
    s->chan = CueSound(snd, nullptr);
    SetChannelVolume(s->chan, soundvolume);
    ResumeChannel(s->chan);
    sounds.AddLast(s);
    return s;
}

void sound::Update()
{
    for (const auto& s : sounds) {
        if (!ChannelPlaying(s->chan)) {
            s->chan.reset();
            sounds.Remove(s);
        }
    }
}

void InstallRulesSounds()
{
    static const std::pair<const char*, const std::shared_ptr<TSound>*> effects[] = {
        {"sfx\\plop.ogg", &plopsound},       {"sfx\\explode.ogg", &explodesound},
        {"sfx\\switch.ogg", &switchsound},   {"sfx\\falling.ogg", &fallingsound},
        {"sfx\\blip.ogg", &blipsound},
    };
    SetSoundPlayer([](const std::string& name) {
        for (const auto& [file, snd] : effects) {
            if (name == file) {
                sound::Play(*snd);
                return;
            }
        }
    });
}
