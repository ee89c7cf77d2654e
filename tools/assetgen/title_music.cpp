#include "tools/assetgen/music.h"

#include "tools/assetgen/score.h"

#include <map>

namespace {

struct Chord {
    int root;
    std::vector<int> voicing; // five tones for the pad, low to high
};

const std::map<std::string, Chord>& Chords()
{
    static const std::map<std::string, Chord> chords = {
        {"Em", {40, {52, 59, 62, 66, 67}}}, {"C", {36, {48, 55, 59, 64, 67}}}, {"G", {43, {55, 59, 62, 66, 69}}},
        {"D", {38, {50, 57, 64, 66, 69}}},  {"Am", {45, {57, 60, 64, 67, 71}}}, {"B", {47, {47, 54, 57, 63, 66}}},
    };
    return chords;
}

const char* const kBars[24] = {
    "Em", "Em", "C", "C",                             // 0-3 intro
    "Em", "C", "G", "D", "Em", "C", "G", "D",         // 4-11 theme
    "Am", "C", "G", "D", "Am", "C", "B", "B",         // 12-19 climb
    "Em", "C", "Am", "B",                             // 20-23 drift back
};

const char* const kTheme[8] = {"B4:8 E5:4 F#5:4", "G5:12 F#5:2 E5:2", "D5:8 B4:4 D5:4", "F#5:8 A5:4 F#5:4",
                               "G5:6 F#5:2 E5:8", "E5:4 G5:4 B5:8",    "A5:6 G5:2 F#5:4 D5:4", "E5:12 D5:4"};
const char* const kClimb[8] = {"C6:8 B5:4 A5:4", "G5:8 E5:4 G5:4", "B5:8 A5:4 G5:4", "F#5:12 D5:4",
                               "A5:6 B5:2 C6:8", "E6:8 D6:4 C6:4", "B5:8 F#5:4 D#5:4", "F#5:16"};
const char* const kDrift[4] = {"B4:8 E5:8", "G5:16", "E5:8 C5:8", "D#5:16"};

} // namespace

SoundClip MakeTitleMusic()
{
    const Score score(90, 24);
    Desk desk(score, 9.0);

    {   // Pad: every bar, wide and slow.
        Pad pad;
        pad.cutoff = 1600;
        Stereo part = desk.NewPart();
        for (int bar = 0; bar < 24; ++bar)
            for (int tone : Chords().at(kBars[bar]).voicing)
                pad.Render(part, {score.At(bar), score.At(1) * 0.98, double(tone), 0.7f}, 0);
        desk.Add(std::move(part), 0.17f, 0.0f, 0.5f);
    }
    {   // Bells: rising and falling eighths through the chord, thrown between the sides.
        Bell bell;
        Stereo part = desk.NewPart();
        const int order[8] = {0, 1, 2, 3, 4, 3, 2, 1};
        for (int bar = 0; bar < 24; ++bar) {
            const Chord& c = Chords().at(kBars[bar]);
            for (int s = 0; s < 8; ++s) {
                float v = (s == 0 ? 0.7f : 0.45f) * (bar < 2 ? 0.5f + 0.25f * bar : 1.0f);
                bell.Render(part, {score.At(bar, s * 2), score.Step() * 1.5, double(c.voicing[size_t(order[s])] + 12), v},
                            s % 2 ? 0.45 : -0.45);
            }
        }
        desk.Add(std::move(part), 0.105f, 0.55f, 0.45f);
    }
    {   // Lead: the theme, the climb, and a quiet memory of it before the loop starts again.
        SoftLead lead;
        Stereo part = desk.NewPart();
        for (int i = 0; i < 8; ++i) {
            for (const Note& n : Melody(score, 4 + i, kTheme[i], 0.85f, true))
                lead.Render(part, n, 0.1);
            for (const Note& n : Melody(score, 12 + i, kClimb[i], 0.95f, true))
                lead.Render(part, n, 0.1);
        }
        for (int i = 0; i < 4; ++i)
            for (const Note& n : Melody(score, 20 + i, kDrift[i], 0.5f, true))
                lead.Render(part, n, -0.2);
        desk.Add(std::move(part), 0.22f, 0.45f, 0.4f);
    }
    {   // Sub bass pulsing like a slow heartbeat.
        SubBass bass;
        Stereo part = desk.NewPart();
        for (int bar = 2; bar < 24; ++bar) {
            double root = Chords().at(kBars[bar]).root;
            bass.Render(part, {score.At(bar, 0), score.Step() * 5.5, root, 1.0f}, 0);
            bass.Render(part, {score.At(bar, 6), score.Step() * 3.5, root, 0.7f}, 0);
            bass.Render(part, {score.At(bar, 10), score.Step() * 5.5, root + (bar % 2 ? 7 : 12), 0.8f}, 0);
        }
        desk.Add(std::move(part), 0.126f, 0.0f, 0.05f);
    }
    {   // A sparse kit, its snare far back in the hall.
        Stereo part = desk.NewPart();
        Stereo hall = desk.NewPart();
        uint32_t seed = 1000;
        for (const Hit& h : Rhythm(score, 4, 16, "X.........x....."))
            Kick(part, h.time, h.velocity, 44, 0.45);
        Kick(part, score.At(20), 0.8f, 44, 0.45);
        for (const Hit& h : Rhythm(score, 12, 8, "........X......."))
            Snare(hall, h.time, h.velocity * 0.7f, 0, seed++, 0.25);
        for (const Hit& h : Rhythm(score, 4, 20, "x.o.x.o.x.o.x.o."))
            HiHat(part, h.time, h.velocity * 0.3f, 0.35, seed++, false);
        for (const Hit& h : Rhythm(score, 8, 12, "......o.......o."))
            HiHat(part, h.time, h.velocity * 0.25f, -0.35, seed++, true);
        Crash(part, score.At(12), 0.6f, 0.3, seed++);
        Riser(part, score.At(3), score.At(1), 0.45f, seed++);
        Riser(part, score.At(11), score.At(1), 0.5f, seed++);
        desk.Add(std::move(part), 0.27f, 0.0f, 0.15f);
        desk.Add(std::move(hall), 0.35f, 0.2f, 0.9f);
    }
    return Desk::Master(desk.Finish(score.Step() * 3, 0.45, 0.4f, 0.85, 1.1f));
}
