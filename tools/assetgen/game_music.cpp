#include "tools/assetgen/music.h"

#include "tools/assetgen/score.h"

#include <map>

namespace {

struct Chord {
    int root;                // bass note
    std::vector<int> arp;    // four tones for the arpeggio, low to high
    std::vector<int> pad;    // the pad's voicing
};

const std::map<std::string, Chord>& Chords()
{
    static const std::map<std::string, Chord> chords = {
        {"Am", {45, {69, 72, 76, 81}, {57, 60, 64}}}, {"F", {41, {65, 69, 72, 77}, {53, 57, 60}}},
        {"C", {48, {67, 72, 76, 79}, {55, 60, 64}}},  {"G", {43, {67, 71, 74, 79}, {55, 59, 62}}},
        {"Em", {40, {67, 71, 76, 79}, {55, 59, 64}}}, {"E", {40, {68, 71, 76, 80}, {56, 59, 64}}},
        {"Dm", {38, {65, 69, 74, 77}, {53, 57, 62}}},
    };
    return chords;
}

// One chord a bar: intro, theme, bridge, breakdown, theme again.
const char* const kBars[32] = {
    "Am", "F", "C", "G",                                   // 0-3 intro
    "Am", "F", "C", "G", "Am", "F", "C", "G",              // 4-11 theme
    "F", "G", "Em", "Am", "F", "G", "E", "E",              // 12-19 bridge
    "Dm", "Am", "F", "E",                                  // 20-23 breakdown
    "Am", "F", "C", "G", "Am", "F", "C", "G",              // 24-31 theme
};

const char* const kTheme[8] = {
    "E5:4 A5:2 B5:2 C6:4 B5:2 A5:2", "A5:6 G5:2 F5:4 E5:4",         "G5:4 E5:2 C5:2 E5:4 G5:2 C6:2",
    "B5:6 A5:2 G5:4 D5:4",           "E5:4 A5:2 B5:2 C6:4 D6:2 E6:2", "F6:4 E6:2 D6:2 C6:4 A5:4",
    "G5:2 A5:2 G5:2 E5:2 C5:4 E5:2 G5:2", "B5:4 D6:4 B5:2 A5:2 G5:2 B5:2",
};

const char* const kBridge[8] = {
    "C6:3 A5:3 F5:2 A5:4 C6:4", "D6:3 B5:3 G5:2 B5:4 D6:4", "E6:4 D6:2 B5:2 G5:4 B5:4", "A5:8 r:4 E5:2 A5:2",
    "C6:3 A5:3 F5:2 C6:2 D6:2 E6:4", "F6:3 D6:3 B5:2 D6:4 G6:4", "E6:4 D6:2 C6:2 B5:4 G#5:4", "B5:8 G#5:4 E5:4",
};

const char* const kBreakdown[4] = {"D6:8 C6:4 A5:4", "E6:16", "C6:8 A5:8", "B5:8 G#5:8"};

} // namespace

SoundClip MakeGameMusic()
{
    const Score score(140, 32);
    Desk desk(score, 8.0);
    const std::vector<int> minor = {9, 11, 0, 2, 4, 5, 7};

    {   // Lead, with a third below it when the theme comes back.
        ChipLead lead;
        Stereo part = desk.NewPart();
        for (int i = 0; i < 8; ++i) {
            for (const Note& n : Melody(score, 4 + i, kTheme[i], 0.9f))
                lead.Render(part, n, -0.05);
            for (Note n : Melody(score, 24 + i, kTheme[i], 0.9f)) {
                lead.Render(part, n, -0.05);
                n.pitch = ScaleShift(int(n.pitch), -2, minor);
                n.velocity = 0.45f;
                lead.Render(part, n, 0.35);
            }
            for (const Note& n : Melody(score, 12 + i, kBridge[i], 0.9f))
                lead.Render(part, n, -0.05);
        }
        for (int i = 0; i < 4; ++i)
            for (const Note& n : Melody(score, 20 + i, kBreakdown[i], 0.55f))
                lead.Render(part, n, 0.0);
        desk.Add(std::move(part), 0.30f, 0.35f, 0.18f);
    }
    {   // Arpeggios in sixteenths, swapping sides each beat.
        ChipPluck pluck;
        Stereo part = desk.NewPart();
        const int order[16] = {0, 1, 2, 3, 2, 1, 0, 1, 0, 1, 2, 3, 2, 3, 2, 1};
        for (int bar = 2; bar < 32; ++bar) {
            const Chord& c = Chords().at(kBars[bar]);
            for (int s = 0; s < 16; ++s) {
                Note n{score.At(bar, s), score.Step() * 0.8, double(c.arp[size_t(order[s])]),
                       s % 4 == 0 ? 0.8f : 0.55f};
                if (bar >= 20 && bar < 24)
                    n.velocity *= 0.6f;
                pluck.Render(part, n, (s / 4) % 2 ? 0.55 : -0.55);
            }
        }
        desk.Add(std::move(part), 0.31f, 0.2f, 0.2f);
    }
    {   // Pad: held chords under the theme and the bridge, swelling in the breakdown.
        Pad pad;
        pad.cutoff = 1100;
        Stereo part = desk.NewPart();
        for (int bar = 4; bar < 32; ++bar)
            for (int tone : Chords().at(kBars[bar]).pad) {
                Note n{score.At(bar), score.At(1) * 0.97, double(tone), bar >= 20 && bar < 24 ? 1.0f : 0.6f};
                pad.Render(part, n, 0);
            }
        desk.Add(std::move(part), 0.16f, 0.0f, 0.35f);
    }
    {   // Bass: bouncing octaves, held notes in the breakdown.
        SynthBass bass;
        Stereo part = desk.NewPart();
        struct Step {
            int at, length, interval;
        };
        const Step groove[] = {{0, 2, 0}, {2, 1, 0}, {3, 1, 12}, {4, 2, 0}, {6, 2, 12},
                               {8, 2, 0}, {10, 1, 0}, {11, 1, 12}, {12, 2, 7}, {14, 2, 12}};
        for (int bar = 0; bar < 32; ++bar) {
            int root = Chords().at(kBars[bar]).root;
            if (bar >= 20 && bar < 24) {
                bass.Render(part, {score.At(bar), score.At(0, 7.5), double(root), 0.9f}, 0);
                bass.Render(part, {score.At(bar, 8), score.At(0, 7.5), double(root), 0.7f}, 0);
                continue;
            }
            for (const Step& s : groove)
                bass.Render(part,
                            {score.At(bar, s.at), score.Step() * s.length * 0.85, double(root + s.interval),
                             s.at % 4 == 0 ? 1.0f : 0.75f},
                            0);
        }
        desk.Add(std::move(part), 0.21f, 0.0f, 0.04f);
    }
    {   // Drums.
        Stereo part = desk.NewPart();
        uint32_t seed = 1;
        auto kicks = [&](int bar, int bars, const char* pattern) {
            for (const Hit& h : Rhythm(score, bar, bars, pattern))
                Kick(part, h.time, h.velocity);
        };
        auto snares = [&](int bar, int bars, const char* pattern) {
            for (const Hit& h : Rhythm(score, bar, bars, pattern)) {
                Snare(part, h.time, h.velocity * 0.8f, 0.05, seed++);
                Clap(part, h.time, h.velocity * 0.3f, -0.1, seed++);
            }
        };
        auto hats = [&](int bar, int bars, const char* pattern, bool open) {
            for (const Hit& h : Rhythm(score, bar, bars, pattern))
                HiHat(part, h.time, h.velocity * 0.5f, 0.3, seed++, open);
        };
        const char* groove = "X.....x...x..x..";
        kicks(0, 20, groove);
        kicks(20, 4, "X.......X.......");
        kicks(24, 8, groove);
        snares(2, 2, "....X.......X...");
        snares(4, 7, "....X.......X...");
        snares(11, 1, "....X...x.x.XxXX");
        snares(12, 7, "....X.......X...");
        snares(19, 1, "....X.......XXXX");
        snares(23, 1, "x.x.x.x.xxxxXXXX");
        snares(24, 7, "....X.......X...");
        snares(31, 1, "....X.......X.XX");
        hats(0, 4, "o.x.o.x.o.x.o.x.", false);
        hats(4, 16, "xoxoxoxoxoxoxo..", false);
        hats(4, 16, "..............x.", true);
        hats(20, 4, "..x...x...x...x.", false);
        hats(24, 8, "xoxoxoxoxoxoxo..", false);
        hats(24, 8, "..............x.", true);
        Crash(part, score.At(4), 0.7f, -0.4, seed++);
        Crash(part, score.At(12), 0.7f, 0.4, seed++);
        Crash(part, score.At(24), 0.9f, -0.4, seed++);
        Riser(part, score.At(22), score.At(2), 0.5f, seed++);
        desk.Add(std::move(part), 0.39f, 0.0f, 0.1f);
    }
    return Desk::Master(desk.Finish(score.Step() * 3, 0.35, 0.35f, 0.55, 0.9f));
}
