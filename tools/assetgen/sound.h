#pragma once
#include <cstddef>
#include <vector>

constexpr int kSampleRate = 44100;

// A rendered sound: interleaved float samples, full scale at 1.
struct SoundClip {
    int channels = 1;
    std::vector<float> samples;
    size_t Frames() const { return samples.size() / channels; }
};

// Two channels being mixed, kept apart so effects can treat them separately.
struct Stereo {
    std::vector<float> left, right;
    explicit Stereo(size_t frames = 0) : left(frames, 0.0f), right(frames, 0.0f) {}
    size_t Frames() const { return left.size(); }
    void Add(size_t i, float l, float r)
    {
        if (i < left.size()) {
            left[i] += l;
            right[i] += r;
        }
    }
    void Mix(const Stereo& other, float gain);
};

// Folds everything past `frames` back onto the start and cuts there, so the sound repeats
// without a seam: what rings on past the loop end is heard at the loop's start instead.
void WrapTail(Stereo& sound, size_t frames);
SoundClip ToClip(const Stereo& sound);
SoundClip ToClip(const std::vector<float>& mono);

double PeakDb(const SoundClip& clip);
// Highest RMS over any window of `seconds` of the sound weighted as the ear hears it, in dB
// full scale: how loud the sound feels.
double LoudnessDb(const SoundClip& clip, double seconds = 0.05);
// Rounds off the highest peaks with a smooth curve: a few stray drum peaks then no longer set
// the level of a whole piece. Works sample by sample, so a seamless loop stays seamless.
void SoftLimit(SoundClip& clip, double headroom_db);
// Scales the clip to the target loudness (measured over windows of `seconds`), but never lets
// its peak pass `peak_db`.
void Normalise(SoundClip& clip, double loudness_db, double peak_db, double seconds = 0.05);
