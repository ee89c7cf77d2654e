#include "tools/assetgen/sound.h"

#include "tools/assetgen/synth.h"

#include <algorithm>
#include <cmath>

void Stereo::Mix(const Stereo& other, float gain)
{
    size_t n = std::min(Frames(), other.Frames());
    for (size_t i = 0; i < n; ++i) {
        left[i] += other.left[i] * gain;
        right[i] += other.right[i] * gain;
    }
}

void WrapTail(Stereo& sound, size_t frames)
{
    for (size_t i = frames; i < sound.Frames(); ++i) {
        sound.left[i % frames] += sound.left[i];
        sound.right[i % frames] += sound.right[i];
    }
    sound.left.resize(frames);
    sound.right.resize(frames);
}

SoundClip ToClip(const Stereo& sound)
{
    SoundClip clip;
    clip.channels = 2;
    clip.samples.resize(sound.Frames() * 2);
    for (size_t i = 0; i < sound.Frames(); ++i) {
        clip.samples[2 * i] = sound.left[i];
        clip.samples[2 * i + 1] = sound.right[i];
    }
    return clip;
}

SoundClip ToClip(const std::vector<float>& mono)
{
    SoundClip clip;
    clip.samples = mono;
    return clip;
}

static double ToDb(double v) { return 20 * std::log10(std::max(v, 1e-12)); }

double PeakDb(const SoundClip& clip)
{
    float peak = 0;
    for (float s : clip.samples)
        peak = std::max(peak, std::abs(s));
    return ToDb(peak);
}

double LoudnessDb(const SoundClip& clip, double seconds)
{
    // Weighted roughly as the ear hears: deep bass counts less, presence a little more.
    std::vector<double> weighted(clip.samples.size());
    for (int c = 0; c < clip.channels; ++c) {
        Filter rumble, presence;
        rumble.Set(100, 0.7);
        presence.Set(1500, 0.7);
        for (size_t i = size_t(c); i < clip.samples.size(); i += size_t(clip.channels)) {
            double x = rumble.High(clip.samples[i]);
            weighted[i] = x + 0.6 * presence.High(x);
        }
    }
    size_t window = std::max<size_t>(1, size_t(seconds * kSampleRate)) * size_t(clip.channels);
    double sum = 0, best = 0;
    for (size_t i = 0; i < weighted.size(); ++i) {
        sum += weighted[i] * weighted[i];
        if (i >= window)
            sum -= weighted[i - window] * weighted[i - window];
        best = std::max(best, sum);
    }
    size_t n = std::min(window, weighted.size());
    return ToDb(std::sqrt(best / double(std::max<size_t>(n, 1))));
}

void Normalise(SoundClip& clip, double loudness_db, double peak_db, double seconds)
{
    double gain_db = std::min(loudness_db - LoudnessDb(clip, seconds), peak_db - PeakDb(clip));
    float gain = float(std::pow(10.0, gain_db / 20));
    for (float& s : clip.samples)
        s *= gain;
}

void SoftLimit(SoundClip& clip, double headroom_db)
{
    // Peaks are lifted `headroom_db` over full scale, then bent smoothly back under it.
    double peak = std::pow(10.0, PeakDb(clip) / 20);
    float gain = float(std::pow(10.0, headroom_db / 20) / std::max(peak, 1e-9));
    const float knee = 0.6f;
    for (float& s : clip.samples) {
        float x = std::abs(s * gain);
        float y = x < knee ? x : knee + (1 - knee) * std::tanh((x - knee) / (1 - knee));
        s = std::copysign(y, s);
    }
}
