#include "tools/assetgen/instruments.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

double Vibrato(double t, double depth, double rate, double delay)
{
    double fade = std::clamp((t - delay) / 0.3, 0.0, 1.0);
    return depth * fade * std::sin(kTwoPi * rate * t);
}

double GlidePitch(const Note& n, double t, double time)
{
    if (n.glide_from < 0 || t >= time)
        return n.pitch;
    return n.glide_from + (n.pitch - n.glide_from) * (t / time);
}

// Filter sweeps and vibrato move slowly: recomputing them every 16 samples is inaudible and
// keeps the costly tangent and sine out of the per-sample path.
constexpr int kControlPeriod = 16;

// Runs `sample(t)` over the note's sounding length and adds it, panned, at its start.
template <class F>
void Write(Stereo& out, double start, double length, double pan, float gain, const F& sample)
{
    float gl, gr;
    PanGains(pan, gl, gr);
    size_t first = Frames(start), count = Frames(length);
    const size_t fade = Frames(0.005); // the last few milliseconds fade out: no click at the cut
    for (size_t i = 0; i < count; ++i) {
        float v = float(sample(Seconds(i))) * gain;
        if (count - i < fade)
            v *= float(count - i) / fade;
        out.Add(first + i, v * gl, v * gr);
    }
}

} // namespace

void ChipLead::Render(Stereo& out, const Note& n, double pan) const
{
    Oscillator top, low;
    Filter filter;
    filter.Set(cutoff, 0.8);
    double hz = 0, w = width;
    int tick = 0;
    Write(out, n.start, envelope.Length(n.length), pan, n.velocity, [&](double t) {
        if (tick++ % kControlPeriod == 0) {
            hz = MidiHz(GlidePitch(n, t, 0.05) + Vibrato(t, vibrato, 5.6, 0.22));
            w = width + 0.06 * std::sin(kTwoPi * 0.8 * t);
        }
        double v = 0.65 * top.Pulse(hz, w) + 0.35 * low.Pulse(hz / 2, 0.5);
        return filter.Low(v) * envelope.At(t, n.length);
    });
}

void ChipPluck::Render(Stereo& out, const Note& n, double pan) const
{
    Oscillator osc;
    Filter filter;
    double hz = MidiHz(n.pitch);
    int tick = 0;
    Write(out, n.start, envelope.Length(n.length), pan, n.velocity, [&](double t) {
        if (tick++ % kControlPeriod == 0)
            filter.Set(cutoff * (0.35 + 0.65 * std::exp(-t / 0.05)), 0.9);
        return filter.Low(osc.Pulse(hz, width)) * envelope.At(t, n.length);
    });
}

void Pad::Render(Stereo& out, const Note& n, double pan) const
{
    const double offsets[3] = {-detune, 0.0, detune};
    const double spread[3] = {-0.7, 0.0, 0.7};
    for (int v = 0; v < 3; ++v) {
        Oscillator osc(0.31 * v);
        Oscillator bright(0.17 * v);
        Filter filter;
        double hz = MidiHz(n.pitch + offsets[v]);
        int tick = 0;
        Write(out, n.start, envelope.Length(n.length), std::clamp(pan + spread[v], -1.0, 1.0), n.velocity / 3,
              [&](double t) {
                  if (tick++ % kControlPeriod == 0)
                      filter.Set(cutoff * (1 + 0.35 * std::sin(kTwoPi * 0.23 * t + v)), 0.7);
                  double x = osc.Saw(hz) * (1 - brightness) + bright.Pulse(hz * 2, 0.5) * brightness * 0.5;
                  return filter.Low(x) * envelope.At(t, n.length);
              });
    }
}

void SynthBass::Render(Stereo& out, const Note& n, double pan) const
{
    Oscillator saw, square;
    Filter filter;
    double hz = MidiHz(n.pitch);
    int tick = 0;
    Write(out, n.start, envelope.Length(n.length), pan, n.velocity, [&](double t) {
        if (tick++ % kControlPeriod == 0)
            filter.Set(cutoff + sweep * std::exp(-t / sweep_time), 1.4);
        double x = saw.Saw(hz) * (1 - sub) + square.Pulse(hz / 2, 0.5) * sub;
        return std::tanh(1.6 * filter.Low(x)) * envelope.At(t, n.length);
    });
}

void SubBass::Render(Stereo& out, const Note& n, double pan) const
{
    Oscillator osc, second;
    double hz = MidiHz(n.pitch);
    Write(out, n.start, envelope.Length(n.length), pan, n.velocity, [&](double t) {
        return (osc.Sine(hz) + 0.22 * second.Sine(hz * 2)) * envelope.At(t, n.length);
    });
}

void Bell::Render(Stereo& out, const Note& n, double pan) const
{
    double carrier = 0, shimmer = 0, modulator = 0;
    double hz = MidiHz(n.pitch);
    double ring_step = std::exp(-1.0 / (ring * kSampleRate)), amp = 1;
    double bend_step = std::exp(-1.0 / (0.25 * kSampleRate)), bend = index;
    Write(out, n.start, n.length + ring * 4, pan, n.velocity, [&](double t) {
        // The modulator bends the carrier's phase; its depth dies away faster than the tone.
        double depth = bend + 0.25;
        bend *= bend_step;
        double m = TableSine(modulator) * depth;
        double v = TableSine(carrier + m / kTwoPi) * 0.7 + TableSine(shimmer) * 0.3;
        carrier += hz / kSampleRate;
        shimmer += hz * 1.002 / kSampleRate;
        modulator += hz * ratio / kSampleRate;
        amp *= ring_step;
        return v * std::min(1.0, t / 0.003) * amp;
    });
}

void SoftLead::Render(Stereo& out, const Note& n, double pan) const
{
    Oscillator saw, square;
    Filter filter;
    double hz = 0;
    int tick = 0;
    Write(out, n.start, envelope.Length(n.length), pan, n.velocity, [&](double t) {
        if (tick++ % kControlPeriod == 0) {
            hz = MidiHz(GlidePitch(n, t, 0.09) + Vibrato(t, vibrato, 5.0, 0.35));
            filter.Set(cutoff * (0.7 + 0.5 * std::exp(-t / 0.2)), 0.9);
        }
        double x = 0.6 * saw.Saw(hz) + 0.4 * square.Pulse(hz * 1.003, 0.5);
        return filter.Low(x) * envelope.At(t, n.length);
    });
}

void Kick(Stereo& out, double at, float velocity, double drop_hz, double decay)
{
    Oscillator thump;
    Write(out, at, decay * 4, 0, velocity, [&](double t) {
        double body = thump.Sine(drop_hz + 110 * std::exp(-t / 0.03)) * std::exp(-t / decay);
        double click = std::exp(-t / 0.002) * 0.4 * std::min(1.0, t / 0.0005);
        return std::tanh(1.5 * (body + click));
    });
}

void Snare(Stereo& out, double at, float velocity, double pan, uint32_t seed, double decay)
{
    WhiteNoise noise(seed);
    Filter filter;
    filter.Set(3200, 0.7);
    Oscillator tone1, tone2;
    Write(out, at, decay * 4, pan, velocity, [&](double t) {
        double body = (tone1.Sine(185) * 0.6 + tone2.Sine(330) * 0.4) * std::exp(-t / 0.05);
        double rattle = filter.High(noise.Next()) * std::exp(-t / decay);
        return 0.55 * body + 0.8 * rattle;
    });
}

void HiHat(Stereo& out, double at, float velocity, double pan, uint32_t seed, bool open)
{
    WhiteNoise noise(seed);
    Filter filter;
    filter.Set(7500, 0.8);
    Oscillator metal[4];
    const double partials[4] = {3140, 4270, 5210, 6490};
    double decay = open ? 0.22 : 0.035;
    Write(out, at, decay * 5, pan, velocity, [&](double t) {
        double m = 0;
        for (int i = 0; i < 4; ++i)
            m += metal[i].Pulse(partials[i], 0.5);
        double x = noise.Next() * 0.7 + m * 0.08;
        return filter.High(x) * std::exp(-t / decay) * 0.6;
    });
}

void Crash(Stereo& out, double at, float velocity, double pan, uint32_t seed)
{
    WhiteNoise noise(seed);
    Filter filter;
    filter.Set(4200, 0.7);
    Write(out, at, 3.0, pan, velocity, [&](double t) {
        return filter.High(noise.Next()) * std::exp(-t / 0.7) * std::min(1.0, t / 0.002) * 0.5;
    });
}

void Clap(Stereo& out, double at, float velocity, double pan, uint32_t seed)
{
    WhiteNoise noise(seed);
    Filter filter;
    filter.Set(1300, 1.5);
    Write(out, at, 0.35, pan, velocity, [&](double t) {
        // Three quick slaps, then the tail.
        double env = 0;
        for (int i = 0; i < 3; ++i)
            if (t >= i * 0.011)
                env = std::max(env, std::exp(-(t - i * 0.011) / 0.006));
        env = std::max(env, 0.45 * std::exp(-t / 0.09));
        return filter.Band(noise.Next()) * env * 2.2;
    });
}

void Riser(Stereo& out, double at, double length, float velocity, uint32_t seed)
{
    WhiteNoise noise(seed);
    Filter left, right;
    double last = 0;
    float gl, gr;
    PanGains(0, gl, gr);
    size_t first = Frames(at), count = Frames(length);
    for (size_t i = 0; i < count; ++i) {
        double u = double(i) / count;
        if (i % kControlPeriod == 0) {
            left.Set(300 + 5000 * u * u, 2.0);
            right.Set(340 + 5200 * u * u, 2.0);
        }
        double x = noise.Next();
        last = 0.5 * last + 0.5 * x;
        float amp = float(velocity * u * u * 0.8);
        out.Add(first + i, float(left.Band(x)) * amp * gl, float(right.Band(last)) * amp * gr);
    }
}
