#include "tools/assetgen/sound_effects.h"

#include "tools/assetgen/synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Renders `seconds` of a mono sound from sample(t), with short fades at both ends so it
// starts and stops without a click, brought to the loudness given.
template <class F>
SoundClip Effect(double seconds, double loudness, const F& sample)
{
    size_t n = Frames(seconds);
    std::vector<float> mono(n);
    for (size_t i = 0; i < n; ++i) {
        double t = Seconds(i);
        double fade = std::min({1.0, t / 0.002, (seconds - t) / 0.01});
        mono[i] = float(sample(t) * fade);
    }
    SoundClip clip = ToClip(mono);
    Normalise(clip, loudness, -3);
    return clip;
}

} // namespace

SoundClip MakePlop()
{
    Oscillator body;
    WhiteNoise noise(31);
    Filter knock;
    knock.Set(620, 6);
    return Effect(0.3, kEffectLoudness, [&](double t) {
        double thud = body.Sine(70 + 150 * std::exp(-t / 0.025)) * std::exp(-t / 0.07);
        double wood = knock.Band(noise.Next() * std::exp(-t / 0.004)) * 2.5 * std::exp(-t / 0.05);
        return std::tanh(1.3 * (thud + wood));
    });
}

SoundClip MakeExplode()
{
    Oscillator sub;
    WhiteNoise noise(47), crackle(48);
    Filter rumble, body;
    Rng sparks(49);
    double spark = 0;
    return Effect(1.6, kEffectLoudness, [&](double t) {
        double boom = sub.Sine(34 + 70 * std::exp(-t / 0.08)) * std::exp(-t / 0.35);
        // Noise through a low-pass that closes as the blast dies down.
        rumble.Set(180 + 5200 * std::exp(-t / 0.12), 0.8);
        double roar = rumble.Low(noise.Next()) * std::exp(-t / 0.45);
        body.Set(900, 1.2);
        double punch = body.Band(noise.Next()) * std::exp(-t / 0.03);
        // Sparse crackles in the tail.
        if (sparks.Real(0, 1) < 0.0015 * std::exp(-t / 0.5))
            spark = sparks.Real(0.3, 0.8);
        spark *= 0.992;
        double crack = spark * crackle.Next();
        return std::tanh(1.4 * (0.9 * boom + 0.8 * roar + 0.6 * punch + 0.4 * crack));
    });
}

SoundClip MakeSwitch()
{
    WhiteNoise noise(61);
    Filter sweep;
    Oscillator low, high, shimmer;
    return Effect(0.75, kEffectLoudness, [&](double t) {
        // Whoosh sweeping down across the turn.
        double u = std::min(t / 0.4, 1.0);
        sweep.Set(4200 * std::pow(0.12, u) + 300, 3);
        double whoosh = sweep.Band(noise.Next()) * std::sin(std::numbers::pi * u) * 0.9;
        // Two chime notes a fifth apart, the second as the stack lands upside down.
        auto chime = [&](Oscillator& o, double hz, double at) {
            double s = t - at;
            return s < 0 ? (o.Sine(hz), 0.0) : o.Sine(hz) * std::exp(-s / 0.18) * std::min(1.0, s / 0.004);
        };
        double bell = 0.45 * chime(low, MidiHz(79), 0.0) + 0.5 * chime(high, MidiHz(74), 0.16) +
                      0.12 * chime(shimmer, MidiHz(86), 0.16);
        return whoosh + bell;
    });
}

SoundClip MakeFalling()
{
    Oscillator pitch;
    WhiteNoise noise(71);
    Filter tap;
    tap.Set(1500, 2);
    return Effect(0.07, kTickLoudness, [&](double t) {
        double tone = pitch.Sine(260 + 180 * std::exp(-t / 0.01)) * std::exp(-t / 0.018);
        double click = tap.Band(noise.Next()) * std::exp(-t / 0.003) * 0.5;
        return tone + click;
    });
}

SoundClip MakeBlip()
{
    Oscillator first, second;
    Filter soften;
    soften.Set(5000, 0.7);
    return Effect(0.16, kEffectLoudness, [&](double t) {
        double a = first.Pulse(MidiHz(84), 0.3) * std::exp(-t / 0.022);
        double s = t - 0.05;
        double b = second.Pulse(MidiHz(91), 0.3) * (s < 0 ? 0.0 : std::min(1.0, s / 0.003) * std::exp(-s / 0.04));
        return soften.Low(0.5 * (a + b));
    });
}
