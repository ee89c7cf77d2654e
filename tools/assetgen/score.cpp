#include "tools/assetgen/score.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>

int NoteNumber(const std::string& name)
{
    static const int steps[7] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
    if (name.size() < 2 || name[0] < 'A' || name[0] > 'G')
        throw std::logic_error("bad note " + name);
    int n = steps[name[0] - 'A'];
    size_t i = 1;
    for (; i < name.size() && (name[i] == '#' || name[i] == 'b'); ++i)
        n += name[i] == '#' ? 1 : -1;
    return n + 12 * (std::stoi(name.substr(i)) + 1);
}

std::vector<Note> Melody(const Score& score, int bar, const std::string& line, float velocity, bool glide)
{
    std::vector<Note> notes;
    std::istringstream in(line);
    std::string token;
    double step = 0;
    double previous = -1;
    while (in >> token) {
        size_t colon = token.find(':');
        if (colon == std::string::npos)
            throw std::logic_error("bad melody token " + token);
        double length = std::stod(token.substr(colon + 1));
        std::string name = token.substr(0, colon);
        if (name != "r") {
            Note n;
            n.start = score.At(bar, step);
            n.length = length * score.Step() * 0.92;
            n.pitch = NoteNumber(name);
            n.velocity = velocity;
            n.glide_from = glide ? previous : -1;
            notes.push_back(n);
            previous = n.pitch;
        }
        step += length;
    }
    return notes;
}

std::vector<Hit> Rhythm(const Score& score, int bar, int bars, const std::string& pattern)
{
    std::vector<Hit> hits;
    int steps = bars * 16;
    for (int s = 0; s < steps; ++s) {
        char c = pattern[size_t(s) % pattern.size()];
        float v = c == 'X' ? 1.0f : c == 'x' ? 0.75f : c == 'o' ? 0.45f : 0.0f;
        if (v > 0)
            hits.push_back({score.At(bar, s), v});
    }
    return hits;
}

int ScaleShift(int note, int steps, const std::vector<int>& scale)
{
    int octave = note / 12, pc = note % 12;
    auto it = std::find(scale.begin(), scale.end(), pc);
    if (it == scale.end())
        return note;
    int degree = int(it - scale.begin()) + steps;
    int n = int(scale.size());
    int shift = degree >= 0 ? degree / n : -((n - 1 - degree) / n);
    return (octave + shift) * 12 + scale[size_t(degree - shift * n)];
}

Desk::Desk(const Score& score, double tail_seconds)
    : loop_(score.LoopFrames()), frames_(loop_ + Frames(tail_seconds)), dry_(frames_), echo_(frames_),
      reverb_(frames_)
{
}

Stereo Desk::NewPart()
{
    if (spare_.empty())
        return Stereo(frames_);
    Stereo part = std::move(spare_.back());
    spare_.pop_back();
    std::fill(part.left.begin(), part.left.end(), 0.0f);
    std::fill(part.right.begin(), part.right.end(), 0.0f);
    return part;
}

void Desk::Add(Stereo&& part, float gain, float echo, float reverb)
{
    dry_.Mix(part, gain);
    echo_.Mix(part, gain * echo);
    reverb_.Mix(part, gain * reverb);
    spare_.push_back(std::move(part));
}

Stereo Desk::Finish(double echo_seconds, double echo_feedback, float echo_level, double room, float reverb_level)
{
    Stereo echoes = PingPongEcho(echo_, echo_seconds, echo_feedback, 3500);
    // The echoes ring into the reverb as well, so they sit in the same space.
    reverb_.Mix(echoes, 0.5f);
    Stereo out = std::move(dry_);
    out.Mix(echoes, echo_level);
    out.Mix(Reverb(reverb_, room, 0.5, 1.0), reverb_level);
    WrapTail(out, loop_);
    // Start a few milliseconds before the first downbeat, so the seam between the last
    // sample and the first falls between notes rather than on a drum's attack.
    size_t preroll = Frames(0.01);
    std::rotate(out.left.begin(), out.left.end() - long(preroll), out.left.end());
    std::rotate(out.right.begin(), out.right.end() - long(preroll), out.right.end());
    return out;
}

SoundClip Desk::Master(const Stereo& mix)
{
    SoundClip clip = ToClip(mix);
    SoftLimit(clip, 2);
    // Both tracks feel equally loud over their loudest few seconds.
    Normalise(clip, -17, -3.5, 3.0);
    return clip;
}
