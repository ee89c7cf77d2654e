#include "tools/assetgen/synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

constexpr double kTwoPi = 2 * std::numbers::pi;

double MidiHz(double note) { return 440.0 * std::pow(2.0, (note - 69) / 12); }

double TableSine(double cycles)
{
    constexpr int kSize = 4096;
    static const std::vector<double> table = [] {
        std::vector<double> t(kSize + 1);
        for (int i = 0; i <= kSize; ++i)
            t[size_t(i)] = std::sin(kTwoPi * i / kSize);
        return t;
    }();
    double x = (cycles - std::floor(cycles)) * kSize;
    size_t i = size_t(x);
    return table[i] + (table[i + 1] - table[i]) * (x - double(i));
}

namespace {

// Correction of a unit step at phase t for a waveform advancing dt per sample.
double PolyBlep(double t, double dt)
{
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1;
    }
    if (t > 1 - dt) {
        t = (t - 1) / dt;
        return t * t + t + t + 1;
    }
    return 0;
}

} // namespace

double Oscillator::Advance(double hz)
{
    double p = phase_;
    phase_ += hz / kSampleRate;
    phase_ -= std::floor(phase_);
    return p;
}

double Oscillator::Sine(double hz) { return TableSine(Advance(hz)); }

double Oscillator::Saw(double hz)
{
    double dt = hz / kSampleRate;
    double p = Advance(hz);
    return 2 * p - 1 - PolyBlep(p, dt);
}

double Oscillator::Pulse(double hz, double width)
{
    double dt = hz / kSampleRate;
    double p = Advance(hz);
    double v = p < width ? 1 : -1;
    v += PolyBlep(p, dt);
    double q = p - width;
    v -= PolyBlep(q - std::floor(q), dt);
    return v - (2 * width - 1); // keep the average at zero
}

double Oscillator::Triangle(double hz)
{
    // A leaky integral of the square wave.
    double square = Pulse(hz, 0.5);
    triangle_ = triangle_ * 0.9995 + square * 4 * hz / kSampleRate;
    return triangle_;
}

double Envelope::At(double t, double gate) const
{
    auto held = [&](double u) {
        if (u < attack)
            return u / attack;
        double d = (u - attack) / std::max(decay, 1e-6);
        return sustain + (1 - sustain) * std::exp(-4 * d);
    };
    if (t < 0)
        return 0;
    if (t < gate)
        return held(t);
    double r = (t - gate) / std::max(release, 1e-6);
    return r >= 1 ? 0 : held(gate) * (1 - r) * (1 - r);
}

void Filter::Set(double cutoff_hz, double resonance)
{
    cutoff_hz = std::clamp(cutoff_hz, 10.0, kSampleRate * 0.45);
    g_ = std::tan(std::numbers::pi * cutoff_hz / kSampleRate);
    k_ = 1.0 / std::max(resonance, 0.5);
    a1_ = 1 / (1 + g_ * (g_ + k_));
    a2_ = g_ * a1_;
    a3_ = g_ * a2_;
}

void Filter::Step(double x)
{
    double v3 = x - ic2_;
    double v1 = a1_ * ic1_ + a2_ * v3;
    double v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
    ic1_ = 2 * v1 - ic1_;
    ic2_ = 2 * v2 - ic2_;
    low_ = v2;
    band_ = v1;
    high_ = x - k_ * v1 - v2;
}

double Filter::Low(double x)
{
    Step(x);
    return low_;
}

double Filter::High(double x)
{
    Step(x);
    return high_;
}

double Filter::Band(double x)
{
    Step(x);
    return band_;
}

void PanGains(double pan, float& left, float& right)
{
    double a = (std::clamp(pan, -1.0, 1.0) + 1) * std::numbers::pi / 4;
    left = float(std::cos(a) * std::numbers::sqrt2);
    right = float(std::sin(a) * std::numbers::sqrt2);
}

Stereo PingPongEcho(const Stereo& in, double delay_seconds, double feedback, double damping_hz)
{
    size_t d = Frames(delay_seconds), n = in.Frames();
    Stereo out(n);
    // Feedback path is low-passed so each repeat is darker than the last.
    double k = 1 - std::exp(-2 * std::numbers::pi * damping_hz / kSampleRate);
    double lpl = 0, lpr = 0;
    for (size_t i = d; i < n; ++i) {
        // Left hears the mono input once; then the echoes alternate sides.
        double from_l = in.left[i - d] * 0.5 + in.right[i - d] * 0.5 + out.right[i - d] * feedback;
        double from_r = out.left[i - d] * feedback;
        lpl += (from_l - lpl) * k;
        lpr += (from_r - lpr) * k;
        out.left[i] = float(lpl);
        out.right[i] = float(lpr);
    }
    return out;
}

namespace {

class Comb {
public:
    explicit Comb(size_t size) : buffer_(size, 0) {}
    float Process(float x, float feedback, float damp)
    {
        float y = buffer_[at_];
        store_ = y * (1 - damp) + store_ * damp;
        buffer_[at_] = x + store_ * feedback;
        at_ = (at_ + 1) % buffer_.size();
        return y;
    }

private:
    std::vector<float> buffer_;
    size_t at_ = 0;
    float store_ = 0;
};

class AllPass {
public:
    explicit AllPass(size_t size) : buffer_(size, 0) {}
    float Process(float x)
    {
        float b = buffer_[at_];
        buffer_[at_] = x + b * 0.5f;
        at_ = (at_ + 1) % buffer_.size();
        return b - x;
    }

private:
    std::vector<float> buffer_;
    size_t at_ = 0;
};

} // namespace

Stereo Reverb(const Stereo& in, double room, double damping, double width)
{
    const size_t combs[] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
    const size_t allpasses[] = {556, 441, 341, 225};
    const size_t spread = 23;
    std::vector<Comb> cl, cr;
    std::vector<AllPass> al, ar;
    for (size_t c : combs) {
        cl.emplace_back(c);
        cr.emplace_back(c + spread);
    }
    for (size_t a : allpasses) {
        al.emplace_back(a);
        ar.emplace_back(a + spread);
    }
    float feedback = float(room * 0.28 + 0.7), damp = float(damping * 0.4);
    float wet1 = float(width / 2 + 0.5), wet2 = float((1 - width) / 2);
    Stereo out(in.Frames());
    for (size_t i = 0; i < in.Frames(); ++i) {
        float x = (in.left[i] + in.right[i]) * 0.015f;
        float l = 0, r = 0;
        for (size_t c = 0; c < cl.size(); ++c) {
            l += cl[c].Process(x, feedback, damp);
            r += cr[c].Process(x, feedback, damp);
        }
        for (size_t a = 0; a < al.size(); ++a) {
            l = al[a].Process(l);
            r = ar[a].Process(r);
        }
        out.left[i] = l * wet1 + r * wet2;
        out.right[i] = r * wet1 + l * wet2;
    }
    return out;
}
