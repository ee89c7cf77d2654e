#pragma once
#include "tools/assetgen/instruments.h"

#include <string>
#include <vector>

// The time grid of a piece in 4/4, counted in sixteenth-note steps, and a small notation
// for writing its parts down.
class Score {
public:
    Score(double bpm, int bars) : bpm_(bpm), bars_(bars) {}
    double Step() const { return 15.0 / bpm_; }
    // Seconds at a step of a bar (bars counted from 0).
    double At(int bar, double step = 0) const { return (bar * 16 + step) * Step(); }
    int Bars() const { return bars_; }
    size_t LoopFrames() const { return Frames(At(bars_)); }

private:
    double bpm_;
    int bars_;
};

// MIDI number of a note name such as "A4", "C#5" or "Bb3".
int NoteNumber(const std::string& name);

// A line of notes, each "name:steps", a rest "r:steps"; e.g. "E5:4 A5:2 r:2 C6:8".
// With `glide` each note slides in from the one before it.
std::vector<Note> Melody(const Score& score, int bar, const std::string& line, float velocity, bool glide = false);

// A drum or rhythm line, one character per step, repeating to fill `bars` bars:
// 'X' accent, 'x' normal, 'o' soft, anything else a rest. Returns (time, velocity) pairs.
struct Hit {
    double time;
    float velocity;
};
std::vector<Hit> Rhythm(const Score& score, int bar, int bars, const std::string& pattern);

// Moves a note by `steps` degrees of the scale given as pitch classes (0 = C).
int ScaleShift(int note, int steps, const std::vector<int>& scale);

// Mixing desk of a piece: every part goes to the dry bus and, as much as asked, to an echo
// and a reverb. Finish folds the ringing tail over the loop start.
class Desk {
public:
    Desk(const Score& score, double tail_seconds);
    // A silent buffer for one part; Add takes it back for the next part to reuse.
    Stereo NewPart();
    void Add(Stereo&& part, float gain, float echo, float reverb);
    Stereo Finish(double echo_seconds, double echo_feedback, float echo_level, double room, float reverb_level);
    // The finished mix as a clip at the music's level: peaks rounded off, then -3.5 dB full
    // scale at the most, which leaves room for the encoder's small overshoots.
    static SoundClip Master(const Stereo& mix);

private:
    size_t loop_, frames_;
    Stereo dry_, echo_, reverb_;
    std::vector<Stereo> spare_;
};
