#pragma once
#include "tools/assetgen/noise.h"
#include "tools/assetgen/sound.h"

#include <vector>

// Building blocks of the synthesiser: band-limited oscillators, envelopes, filters, echo and
// reverb. Everything runs at kSampleRate on float samples.

double MidiHz(double note);
// sin(2 pi cycles) from a table: the synthesiser's sines need speed more than the last digit.
double TableSine(double cycles);
inline double Seconds(size_t frames) { return double(frames) / kSampleRate; }
inline size_t Frames(double seconds) { return size_t(seconds * kSampleRate + 0.5); }

// A phase accumulator with band-limited (PolyBLEP) waveforms; call once per sample.
class Oscillator {
public:
    explicit Oscillator(double phase = 0) : phase_(phase) {}
    double Sine(double hz);
    double Saw(double hz);
    double Pulse(double hz, double width);
    double Triangle(double hz);

private:
    double Advance(double hz);
    double phase_;
    double triangle_ = 0;
};

// Attack, decay, sustain level, release; `gate` is how long the note is held.
struct Envelope {
    double attack = 0.005, decay = 0.1, sustain = 1.0, release = 0.05;
    double At(double t, double gate) const;
    double Length(double gate) const { return gate + release; }
};

// Trapezoidal state-variable filter: low, band and high pass from one state.
class Filter {
public:
    void Set(double cutoff_hz, double resonance);
    double Low(double x);
    double High(double x);
    double Band(double x);

private:
    void Step(double x);
    double g_ = 0, k_ = 1, a1_ = 0, a2_ = 0, a3_ = 0;
    double ic1_ = 0, ic2_ = 0, low_ = 0, band_ = 0, high_ = 0;
};

class WhiteNoise {
public:
    explicit WhiteNoise(uint32_t seed) : rng_(seed) {}
    double Next() { return rng_.Real(-1, 1); }

private:
    Rng rng_;
};

// Equal-power pan: -1 left, 0 centre, 1 right.
void PanGains(double pan, float& left, float& right);

// Echo that bounces between the channels; returns only the echoes.
Stereo PingPongEcho(const Stereo& in, double delay_seconds, double feedback, double damping_hz);
// A dense hall reverb (eight combs and four all-passes per channel); returns only the reverb.
Stereo Reverb(const Stereo& in, double room, double damping, double width);
