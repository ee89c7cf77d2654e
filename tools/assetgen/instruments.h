#pragma once
#include "tools/assetgen/synth.h"

#include <cstdint>

// One note of a part: start and length in seconds, pitch as a MIDI note number.
struct Note {
    double start = 0, length = 0, pitch = 60;
    float velocity = 1;
    double glide_from = -1; // a pitch to slide up or down from, or -1 for none
};

// The voices the music is played on. Each renders one note into `out` at the note's start,
// placed in the stereo field by `pan` (-1 left to 1 right).

// Square-ish lead of the play track: a narrow pulse over a square an octave down, with a
// little pulse-width movement and delayed vibrato.
struct ChipLead {
    double width = 0.25, vibrato = 0.18, cutoff = 5200;
    Envelope envelope{0.004, 0.18, 0.6, 0.08};
    void Render(Stereo& out, const Note& n, double pan) const;
};

// Short plucked pulse for fast arpeggios.
struct ChipPluck {
    double width = 0.125, cutoff = 6500;
    Envelope envelope{0.002, 0.09, 0.0, 0.03};
    void Render(Stereo& out, const Note& n, double pan) const;
};

// Slow, wide chord pad of detuned saws behind a breathing low-pass.
struct Pad {
    double cutoff = 1400, detune = 0.09, brightness = 0.3;
    Envelope envelope{0.7, 0.5, 0.85, 1.4};
    void Render(Stereo& out, const Note& n, double pan) const;
};

// Saw and sub-square bass with a plucked filter.
struct SynthBass {
    double cutoff = 300, sweep = 1800, sweep_time = 0.07, sub = 0.5;
    Envelope envelope{0.003, 0.2, 0.7, 0.04};
    void Render(Stereo& out, const Note& n, double pan) const;
};

// Round sine bass with a touch of second harmonic.
struct SubBass {
    Envelope envelope{0.02, 0.4, 0.8, 0.25};
    void Render(Stereo& out, const Note& n, double pan) const;
};

// Two-operator FM bell for glassy arpeggios.
struct Bell {
    double ratio = 2.0, index = 1.6, ring = 1.1;
    void Render(Stereo& out, const Note& n, double pan) const;
};

// Soft singing lead: saw and square through a gentle low-pass, gliding between notes.
struct SoftLead {
    double cutoff = 2400, vibrato = 0.16;
    Envelope envelope{0.05, 0.3, 0.8, 0.35};
    void Render(Stereo& out, const Note& n, double pan) const;
};

// Drums. `seed` varies the noise from hit to hit.
void Kick(Stereo& out, double at, float velocity, double drop_hz = 48, double decay = 0.32);
void Snare(Stereo& out, double at, float velocity, double pan, uint32_t seed, double decay = 0.16);
void HiHat(Stereo& out, double at, float velocity, double pan, uint32_t seed, bool open);
void Crash(Stereo& out, double at, float velocity, double pan, uint32_t seed);
void Clap(Stereo& out, double at, float velocity, double pan, uint32_t seed);
// Filtered noise rising over `length` seconds into the moment `at` + `length`.
void Riser(Stereo& out, double at, double length, float velocity, uint32_t seed);
