#include "app/shell/sound.h"

#include <string>
#include <utility>

#include "audio/sound.h"
#include "game/assets.h"
#include "game/settings.h"
#include "game/sounds.h"

TList<sound> sounds;

TGameSounds gamesounds;

std::shared_ptr<sound> sound::Play(const std::shared_ptr<TSound>& snd)
{
    auto s = std::make_shared<sound>();
    s->chan = CueSound(snd, nullptr);
    SetChannelVolume(s->chan, settings.soundvolume);
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
    static const std::pair<TAsset, const std::shared_ptr<TSound>*> effects[] = {
        {TAsset::Plop, &gamesounds.plopsound},     {TAsset::Explode, &gamesounds.explodesound},
        {TAsset::Switch, &gamesounds.switchsound}, {TAsset::Falling, &gamesounds.fallingsound},
        {TAsset::Blip, &gamesounds.blipsound},
    };
    SetSoundPlayer([](const std::string& name) {
        for (const auto& [effect, snd] : effects) {
            if (name == AssetName(effect)) {
                sound::Play(*snd);
                return;
            }
        }
    });
}
