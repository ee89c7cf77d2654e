// Listening check for the audio layer: plays Ogg Vorbis files through the OpenAL driver.
//   audio_demo [file.ogg ...]
// Without files it composes a short tune, encodes it as Ogg Vorbis, decodes it again through the
// loader and plays it, then plays a blip on the left, in the centre and on the right.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

#include "audio/oggencoder.h"
#include "audio/sound.h"
#include "system/clock.h"
#include "system/stream.h"

namespace {

constexpr int kRate = 44100;

// Notes of the given frequencies, each with a short fade in and out, as mono Ogg Vorbis.
std::vector<uint8_t> Tune(const std::vector<double>& notes, double noteSeconds)
{
    const int noteFrames = static_cast<int>(noteSeconds * kRate);
    std::vector<int16_t> pcm;
    for (double hertz : notes) {
        for (int i = 0; i < noteFrames; ++i) {
            const double fade = std::min({1.0, i / 400.0, (noteFrames - i) / 400.0});
            pcm.push_back(static_cast<int16_t>(12000 * fade * std::sin(2 * std::numbers::pi * hertz * i / kRate)));
        }
    }
    return EncodeOggVorbis(pcm.data(), static_cast<int64_t>(pcm.size()), 1, kRate);
}

void PlayToTheEnd(const std::shared_ptr<TSound>& sound, float pan)
{
    auto channel = CueSound(sound);
    SetChannelPan(channel, pan);
    ResumeChannel(channel);
    while (ChannelPlaying(channel))
        SleepMillis(10);
}

} // namespace

int main(int argc, char** argv)
{
    if (!HasAudioDriver("OpenAL") || !SelectAudioDriver("OpenAL")) {
        std::fprintf(stderr, "audio_demo: no OpenAL device could be opened\n");
        return 1;
    }
    if (argc > 1) {
        for (int i = 1; i < argc; ++i) {
            auto sound = LoadSound(argv[i]);
            std::printf("%s: %s\n", argv[i], sound ? "playing" : "not an Ogg Vorbis file");
            if (sound)
                PlayToTheEnd(sound, 0);
        }
        return 0;
    }
    const std::vector<uint8_t> tune = Tune({261.6, 329.6, 392.0, 523.3, 392.0, 329.6, 261.6}, 0.25);
    std::printf("a tune\n");
    PlayToTheEnd(LoadSound(std::make_shared<TRamStream>(tune, 1, 0)), 0);
    auto blip = LoadSound(std::make_shared<TRamStream>(Tune({880.0}, 0.2), 1, 0));
    for (float pan : {-1.0f, 0.0f, 1.0f}) {
        std::printf("a blip at pan %g\n", pan);
        PlayToTheEnd(blip, pan);
        SleepMillis(200);
    }
    return 0;
}
