#include "game/replay_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>
#include <vector>

#include "game/firework.h"
#include "game/hash64.h"

namespace {

constexpr std::string_view Magic = "brimstrand-replay";
constexpr std::string_view ChecksumKey = "checksum ";
constexpr size_t MaxLineLength = 512;
constexpr size_t MaxVersionLength = 32;
constexpr size_t MaxNameLength = 3;
constexpr size_t MaxQuotedLength = 24;
// Far beyond anything a play reaches, yet small enough that no conversion the game makes of
// these values can overflow.
constexpr float MaxEffectMagnitude = 1e7f;
constexpr int32_t MaxPosition = 10000000;
constexpr int32_t MaxBackgroundCounter = 1000000;
constexpr int32_t MaxBackgroundPicture = 255;
constexpr int32_t MaxBoomTime = 255;
constexpr int32_t MaxSeed = 0x7FFFFFFE; // the generator never holds 0 or 2^31 - 1
constexpr int64_t MaxChallengeResult = std::numeric_limits<int32_t>::max(); // points, or a Sprint's frames

// ---- Values shared by the writer, the parser and the checks ------------------------------

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool ValidVersion(std::string_view v)
{
    if (v.empty() || v.size() > MaxVersionLength)
        return false;
    for (char c : v)
        if (!(IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '.' || c == '-' || c == '+' ||
              c == '_'))
            return false;
    return true;
}

// A name is what the table holds: up to three visible ASCII characters, no spaces.
bool ValidName(std::string_view n)
{
    if (n.size() > MaxNameLength)
        return false;
    for (char c : n)
        if (c <= ' ' || c > '~')
            return false;
    return true;
}

int DaysInMonth(int year, int month)
{
    constexpr int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

// "YYYY-MM-DDTHH:MM:SSZ", a real calendar day.
bool ValidDate(std::string_view d)
{
    constexpr std::string_view pattern = "dddd-dd-ddTdd:dd:ddZ";
    if (d.size() != pattern.size())
        return false;
    for (size_t i = 0; i < d.size(); ++i)
        if (pattern[i] == 'd' ? !IsDigit(d[i]) : d[i] != pattern[i])
            return false;
    auto number = [&](size_t at, size_t count) {
        int v = 0;
        for (size_t i = at; i < at + count; ++i)
            v = v * 10 + (d[i] - '0');
        return v;
    };
    const int year = number(0, 4), month = number(5, 2), day = number(8, 2);
    return month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(year, month) && number(11, 2) <= 23 &&
           number(14, 2) <= 59 && number(17, 2) <= 59;
}

bool ValidEffect(float v) { return std::isfinite(v) && std::fabs(v) <= MaxEffectMagnitude; }
bool ValidRise(float yv) { return yv >= FireworkFastestRise && yv <= FireworkSlowestRise; }
bool InRange(int64_t v, int64_t lo, int64_t hi) { return v >= lo && v <= hi; }
bool ValidInput(TFrameInput input, const TPlayOptions& options)
{
    return input == InputPaused || (input & ~EnabledInputs(options)) == 0;
}

int FormatVersion(const TReplayStart& start)
{
    if (start.challenge != TChallenge::None)
        return ReplayFormatVersion;
    return start.options.AllDefault() ? ReplayDefaultsFormatVersion : ReplayOptionsFormatVersion;
}

std::string FormatFloat(float v)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
    return std::string(buffer, result.ptr);
}

std::string FormatHex(uint64_t v)
{
    static const char digits[] = "0123456789abcdef";
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i, v >>= 4)
        text[static_cast<size_t>(i)] = digits[v & 15];
    return text;
}

constexpr TFrameInput InputOptionControls = InputHardDrop | InputHold;

// One character per input of the five controls (docs/replay-format.md): "-" none, "p" pause,
// "s" fast, "qead" one turn or move, the same in capitals with fast, and the remaining letters
// for the rarer combinations in the order of their masks. Hard drop and hold put a mark before
// that character: "!" hard drop, "^" hold, "*" both.
class TInputSymbols {
public:
    TInputSymbols()
    {
        symbol_.fill('\0');
        symbol_[0] = '-';
        symbol_[InputPaused] = 'p';
        symbol_[InputFast] = 's';
        constexpr std::string_view singles = "qead";
        for (size_t bit = 0; bit < singles.size(); ++bit) {
            symbol_[1u << bit] = singles[bit];
            symbol_[(1u << bit) | InputFast] = static_cast<char>(singles[bit] - 'a' + 'A');
        }
        constexpr std::string_view others = "BCFGHIJKLMNOPRSTUVWXYZ";
        size_t next = 0;
        for (unsigned mask = 1; mask <= InputControls; ++mask)
            if (!symbol_[mask])
                symbol_[mask] = others[next++];
        input_.fill(NoInput);
        for (unsigned mask = 0; mask < symbol_.size(); ++mask)
            if (symbol_[mask])
                input_[static_cast<unsigned char>(symbol_[mask])] = static_cast<int>(mask);
    }
    std::string Symbol(TFrameInput input) const
    {
        std::string text;
        if (const TFrameInput marks = input & InputOptionControls; marks != 0)
            text += marks == InputHardDrop ? '!' : marks == InputHold ? '^' : '*';
        return text + symbol_[input & ~InputOptionControls];
    }
    // NoInput for a character that names no input.
    int Input(char c) const { return input_[static_cast<unsigned char>(c)]; }
    // The option controls a mark stands for; NoInput for a character that is no mark.
    static int Mark(char c)
    {
        return c == '!' ? InputHardDrop : c == '^' ? InputHold : c == '*' ? InputOptionControls : NoInput;
    }
    static constexpr int NoInput = -1;

private:
    std::array<char, InputPaused + 1> symbol_;
    std::array<int, 256> input_;
};

const TInputSymbols& InputSymbols()
{
    static const TInputSymbols symbols;
    return symbols;
}

// Inputs that usually last (nothing, the fast key, the pause screen), as opposed to presses.
bool IsHeld(TFrameInput input) { return input == 0 || input == InputFast || input == InputPaused; }

// One token of the input lines and the frames it stands for.
struct TInputToken {
    std::string text;
    uint64_t frames = 0;
};

// The runs as tokens: a held run is its length (left out when 1) and its symbol, and becomes the
// held input; a press is its symbol, once per frame, preceded by the number of frames of the held
// input before it when those come straight before it.
std::vector<TInputToken> InputTokens(const std::vector<TInputRun>& runs)
{
    std::vector<TInputToken> tokens;
    TFrameInput held = 0;
    auto presses = [&](const TInputRun& run, uint32_t count) {
        for (uint32_t k = 0; k < count; ++k)
            tokens.push_back({InputSymbols().Symbol(run.input), 1});
    };
    for (size_t i = 0; i < runs.size(); ++i) {
        const TInputRun& run = runs[i];
        if (!IsHeld(run.input)) {
            presses(run, run.frames);
        } else if (run.input == held && i + 1 < runs.size() && !IsHeld(runs[i + 1].input)) {
            const TInputRun& press = runs[++i];
            tokens.push_back({std::to_string(run.frames) + InputSymbols().Symbol(press.input), run.frames + 1ull});
            presses(press, press.frames - 1);
        } else {
            tokens.push_back({(run.frames == 1 ? std::string() : std::to_string(run.frames)) +
                                  InputSymbols().Symbol(run.input),
                              run.frames});
            held = run.input;
        }
    }
    return tokens;
}

// ---- Writing ------------------------------------------------------------------------------

class TLineWriter {
public:
    TLineWriter& Word(std::string_view w)
    {
        if (!lineStart_)
            text_ += ' ';
        text_ += w;
        lineStart_ = false;
        return *this;
    }
    TLineWriter& Number(int64_t v) { return Word(std::to_string(v)); }
    TLineWriter& Float(float v) { return Word(FormatFloat(v)); }
    TLineWriter& Pair(std::string_view key, const std::string& value) { return Word(std::string(key) + "=" + value); }
    void End()
    {
        text_ += '\n';
        lineStart_ = true;
    }
    std::string& Text() { return text_; }

private:
    std::string text_;
    bool lineStart_ = true;
};

std::string Flag(bool on) { return on ? "1" : "0"; }

void WriteOptions(TLineWriter& out, const TPlayOptions& o)
{
    out.Word("options")
        .Pair("next", std::to_string(o.nextPieces))
        .Pair("shadow", Flag(o.landingShadow))
        .Pair("harddrop", Flag(o.hardDrop))
        .Pair("hold", Flag(o.hold))
        .Pair("pace", std::string(PaceName(o.pace)))
        .Pair("figures", Flag(o.playFigures))
        .End();
}

// A day stands in a word of its own; "-" for a play that is not a daily one.
constexpr std::string_view NoDay = "-";

void WriteChallenge(TLineWriter& out, const TReplay& r)
{
    out.Word("challenge")
        .Pair("kind", std::string(ChallengeName(r.start.challenge)))
        .Pair("day", r.start.day.empty() ? std::string(NoDay) : r.start.day)
        .Pair("result", std::to_string(r.result))
        .End();
}

void WriteStart(TLineWriter& out, const TReplay& r)
{
    const TReplayStart& s = r.start;
    if (FormatVersion(s) != ReplayDefaultsFormatVersion)
        WriteOptions(out, s.options);
    if (FormatVersion(s) == ReplayFormatVersion)
        WriteChallenge(out, r);
    out.Word("seed").Number(s.seed).End();
    out.Word("effects")
        .Pair("tint", FormatFloat(s.tint))
        .Pair("wobble", FormatFloat(s.wobble))
        .Pair("wobblev", FormatFloat(s.wobblev))
        .Pair("flash", FormatFloat(s.flash))
        .Pair("glow", FormatFloat(s.glow))
        .End();
    out.Word("visibility").Number(s.visibility).End();
    out.Word("background")
        .Pair("timer", std::to_string(s.backtimer))
        .Pair("index", std::to_string(s.backindex))
        .Pair("prev", std::to_string(s.backprev))
        .Pair("fade", FormatFloat(s.backfade))
        .Pair("angle", FormatFloat(s.backangle))
        .End();
    out.Word("fireworks").Number(static_cast<int64_t>(s.fireworks.size())).End();
    for (const auto& f : s.fireworks)
        out.Word("firework").Float(f.x).Float(f.y).Float(f.xv).Float(f.yv).Float(f.size).Number(f.r).Number(f.g).Number(f.b).End();
    out.Word("booms").Number(static_cast<int64_t>(s.booms.size())).End();
    for (const auto& b : s.booms)
        out.Word("boom").Number(b.x).Number(b.y).Number(b.time).End();
}

void WriteInputs(TLineWriter& out, const std::vector<TInputRun>& runs)
{
    const std::vector<TInputToken> tokens = InputTokens(runs);
    out.Word("inputs").Number(static_cast<int64_t>(tokens.size())).End();
    uint64_t frame = 0, lineStart = 0;
    std::string line;
    for (size_t i = 0; i < tokens.size(); ++i) {
        line += tokens[i].text;
        frame += tokens[i].frames;
        if (i % ReplayTokensPerLine == ReplayTokensPerLine - 1 || i + 1 == tokens.size()) {
            out.Word("input").Number(static_cast<int64_t>(lineStart)).Word(line).End();
            line.clear();
            lineStart = frame;
        }
    }
}

// ---- Parsing ------------------------------------------------------------------------------

struct TParseError {
    std::string message;
};

// What a bad value looked like, kept short and on one line.
std::string Quoted(std::string_view text)
{
    std::string q = "\"";
    for (size_t i = 0; i < text.size() && i < MaxQuotedLength; ++i)
        q += text[i] >= ' ' && text[i] <= '~' ? text[i] : '?';
    if (text.size() > MaxQuotedLength)
        q += "...";
    return q + "\"";
}

// Whole lines, each ended by "\n", split into words at single spaces.
class TLineReader {
public:
    explicit TLineReader(std::string_view text) : text_(text) {}

    [[noreturn]] void Fail(const std::string& message) const
    {
        throw TParseError{"line " + std::to_string(line_) + ": " + message};
    }

    bool AtEnd() const { return pos_ >= text_.size(); }

    // The next line's words; the first must be key.
    std::vector<std::string_view> Line(std::string_view key)
    {
        if (AtEnd()) {
            ++line_;
            Fail("the file ends where \"" + std::string(key) + "\" was expected");
        }
        auto words = NextWords();
        if (words.empty() || words[0] != key)
            Fail("expected \"" + std::string(key) + "\", found " + Quoted(words.empty() ? "" : words[0]));
        return words;
    }

    // A line holding key and exactly count values.
    std::vector<std::string_view> Record(std::string_view key, size_t count)
    {
        auto words = Line(key);
        if (words.size() != count + 1)
            Fail("\"" + std::string(key) + "\" needs " + std::to_string(count) + " value" + (count == 1 ? "" : "s") +
                 ", found " + std::to_string(words.size() - 1));
        return words;
    }

    int64_t Integer(std::string_view word, std::string_view what, int64_t lo, int64_t hi) const
    {
        int64_t v = 0;
        const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), v);
        // The canonical spelling only: no sign on zero, no leading zeros.
        if (ec != std::errc() || end != word.data() + word.size() || std::to_string(v) != word || !InRange(v, lo, hi))
            Fail(std::string(what) + ": expected a whole number from " + std::to_string(lo) + " to " + std::to_string(hi) +
                 ", found " + Quoted(word));
        return v;
    }

    float Real(std::string_view word, std::string_view what) const
    {
        const std::string name(what);
        float v = 0;
        const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), v);
        const bool whole = end == word.data() + word.size();
        if (!whole || (ec != std::errc() && ec != std::errc::result_out_of_range) || std::isnan(v))
            Fail(name + ": expected a number, found " + Quoted(word));
        // A float that overflows or underflows reads as 0 here; its double tells which it was.
        double wide = 0;
        std::from_chars(word.data(), word.data() + word.size(), wide);
        if (!(std::fabs(wide) <= MaxEffectMagnitude))
            Fail(name + ": expected a finite number of at most 1e7 in size, found " + Quoted(word));
        if (ec != std::errc())
            Fail(name + ": " + Quoted(word) + " is too close to 0 for a 32-bit float");
        if (const std::string shortest = FormatFloat(v); shortest != word)
            Fail(name + ": " + Quoted(word) + " is not in its shortest form " + Quoted(shortest));
        return v;
    }

    uint64_t Hex(std::string_view word, std::string_view what) const
    {
        uint64_t v = 0;
        const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), v, 16);
        if (word.size() != 16 || ec != std::errc() || end != word.data() + word.size() || FormatHex(v) != word)
            Fail(std::string(what) + ": expected 16 lowercase hexadecimal digits, found " + Quoted(word));
        return v;
    }

    // "key=value" with the expected key.
    std::string_view Value(std::string_view word, std::string_view key) const
    {
        if (word.size() <= key.size() || word.substr(0, key.size()) != key || word[key.size()] != '=')
            Fail("expected " + std::string(key) + "=..., found " + Quoted(word));
        return word.substr(key.size() + 1);
    }

    // Only the checksum line may follow the checks, and it is not part of the body read here.
    void ExpectEnd()
    {
        if (AtEnd())
            return;
        const auto words = NextWords();
        Fail("only the checksum line may follow the checks, found " + Quoted(words[0]));
    }

private:
    std::vector<std::string_view> NextWords()
    {
        ++line_;
        const size_t end = text_.find('\n', pos_);
        if (end == std::string_view::npos)
            Fail("the file ends in the middle of a line");
        const std::string_view line = text_.substr(pos_, end - pos_);
        pos_ = end + 1;
        if (line.size() > MaxLineLength)
            Fail("the line is longer than " + std::to_string(MaxLineLength) + " characters");
        for (char c : line)
            if (c < ' ' || c > '~')
                Fail("the line holds a character that is not printable ASCII");
        std::vector<std::string_view> words;
        size_t start = 0;
        for (;;) {
            const size_t space = line.find(' ', start);
            const std::string_view word = line.substr(start, space == std::string_view::npos ? line.npos : space - start);
            if (word.empty())
                Fail(line.empty() ? "the line is empty" : "words must be separated by single spaces");
            words.push_back(word);
            if (space == std::string_view::npos)
                break;
            start = space + 1;
        }
        return words;
    }

    std::string_view text_;
    size_t pos_ = 0;
    int line_ = 0;
};


void ParseHeader(TLineReader& in, TReplay& r)
{
    const auto version = in.Line("game");
    if (version.size() != 2 || !ValidVersion(version[1]))
        in.Fail("game: expected a version of up to 32 letters, digits or \".-+_\"");
    r.gameVersion = version[1];
    const auto date = in.Record("date", 1);
    if (!ValidDate(date[1]))
        in.Fail("date: expected a UTC time like 2026-12-08T20:44:33Z, found " + Quoted(date[1]));
    r.date = date[1];
    const auto name = in.Line("name");
    if (name.size() > 2 || (name.size() == 2 && !ValidName(name[1])))
        in.Fail("name: expected up to three visible characters");
    r.name = name.size() == 2 ? name[1] : "";
    r.score = static_cast<int32_t>(in.Integer(in.Record("score", 1)[1], "score", 0, std::numeric_limits<int32_t>::max()));
    r.frames = static_cast<uint32_t>(in.Integer(in.Record("frames", 1)[1], "frames", 1, MaxReplayFrames));
    r.board = in.Hex(in.Record("board", 1)[1], "board");
}

bool ParseFlag(const TLineReader& in, std::string_view word, std::string_view key)
{
    const std::string_view v = in.Value(word, key);
    if (v != "0" && v != "1")
        in.Fail("options " + std::string(key) + ": expected 0 or 1, found " + Quoted(v));
    return v == "1";
}

void ParseOptions(TLineReader& in, TPlayOptions& o, int version)
{
    const auto w = in.Record("options", 6);
    o.nextPieces = static_cast<int>(in.Integer(in.Value(w[1], "next"), "options next", MinNextPieces, MaxNextPieces));
    o.landingShadow = ParseFlag(in, w[2], "shadow");
    o.hardDrop = ParseFlag(in, w[3], "harddrop");
    o.hold = ParseFlag(in, w[4], "hold");
    const std::string_view pace = in.Value(w[5], "pace");
    if (!PaceFromName(pace, o.pace))
        in.Fail("options pace: expected classic, brisk or rapid, found " + Quoted(pace));
    o.playFigures = ParseFlag(in, w[6], "figures");
    if (o.AllDefault() && version == ReplayOptionsFormatVersion)
        in.Fail("options: every option is at its default, which is written as format version " +
                std::to_string(ReplayDefaultsFormatVersion));
}

void ParseChallenge(TLineReader& in, TReplay& r)
{
    TReplayStart& s = r.start;
    const auto w = in.Record("challenge", 3);
    const std::string_view kind = in.Value(w[1], "kind");
    if (!ChallengeFromName(kind, s.challenge) || s.challenge == TChallenge::None)
        in.Fail("challenge kind: expected sprint, ultra, daily or race, found " + Quoted(kind));
    const std::string_view day = in.Value(w[2], "day");
    if (s.challenge == TChallenge::Daily ? !ValidDay(day) : day != NoDay)
        in.Fail("challenge day: expected " + std::string(s.challenge == TChallenge::Daily ? "a date like 2026-12-09" : "\"-\"") +
                ", found " + Quoted(day));
    s.day = s.challenge == TChallenge::Daily ? std::string(day) : std::string();
    r.result = in.Integer(in.Value(w[3], "result"), "challenge result", 0, MaxChallengeResult);
}

void ParseStart(TLineReader& in, TReplay& r, int version)
{
    TReplayStart& s = r.start;
    if (version != ReplayDefaultsFormatVersion)
        ParseOptions(in, s.options, version);
    if (version == ReplayFormatVersion)
        ParseChallenge(in, r);
    s.seed = static_cast<int32_t>(in.Integer(in.Record("seed", 1)[1], "seed", 1, MaxSeed));
    const auto e = in.Record("effects", 5);
    s.tint = in.Real(in.Value(e[1], "tint"), "tint");
    s.wobble = in.Real(in.Value(e[2], "wobble"), "wobble");
    s.wobblev = in.Real(in.Value(e[3], "wobblev"), "wobblev");
    s.flash = in.Real(in.Value(e[4], "flash"), "flash");
    s.glow = in.Real(in.Value(e[5], "glow"), "glow");
    s.visibility = static_cast<int32_t>(in.Integer(in.Record("visibility", 1)[1], "visibility", 0, 1));
    const auto b = in.Record("background", 5);
    s.backtimer = static_cast<int32_t>(in.Integer(in.Value(b[1], "timer"), "timer", 0, MaxBackgroundCounter));
    s.backindex = static_cast<int32_t>(in.Integer(in.Value(b[2], "index"), "index", 0, MaxBackgroundPicture));
    s.backprev = static_cast<int32_t>(in.Integer(in.Value(b[3], "prev"), "prev", 0, MaxBackgroundPicture));
    s.backfade = in.Real(in.Value(b[4], "fade"), "fade");
    s.backangle = in.Real(in.Value(b[5], "angle"), "angle");

    const auto fireworks = in.Integer(in.Record("fireworks", 1)[1], "fireworks", 0, MaxReplayFireworks);
    for (int64_t i = 0; i < fireworks; ++i) {
        const auto w = in.Record("firework", 8);
        TReplayFirework f;
        f.x = in.Real(w[1], "firework x");
        f.y = in.Real(w[2], "firework y");
        f.xv = in.Real(w[3], "firework xv");
        f.yv = in.Real(w[4], "firework yv");
        if (!ValidRise(f.yv))
            in.Fail("firework yv: expected a rise from " + FormatFloat(FireworkFastestRise) + " to " +
                    FormatFloat(FireworkSlowestRise) + ", found " + Quoted(w[4]));
        f.size = in.Real(w[5], "firework size");
        f.r = static_cast<uint8_t>(in.Integer(w[6], "firework red", 0, 255));
        f.g = static_cast<uint8_t>(in.Integer(w[7], "firework green", 0, 255));
        f.b = static_cast<uint8_t>(in.Integer(w[8], "firework blue", 0, 255));
        s.fireworks.push_back(f);
    }
    const auto booms = in.Integer(in.Record("booms", 1)[1], "booms", 0, MaxReplayBooms);
    for (int64_t i = 0; i < booms; ++i) {
        const auto w = in.Record("boom", 3);
        TReplayBoom b;
        b.x = static_cast<int32_t>(in.Integer(w[1], "boom x", -MaxPosition, MaxPosition));
        b.y = static_cast<int32_t>(in.Integer(w[2], "boom y", -MaxPosition, MaxPosition));
        b.time = static_cast<int32_t>(in.Integer(w[3], "boom time", 0, MaxBoomTime));
        s.booms.push_back(b);
    }
}

// Rebuilds the runs from the tokens, refusing every spelling the writer would not make.
class TInputReader {
public:
    TInputReader(const TLineReader& in, TReplay& r) : in_(in), r_(r) {}

    uint64_t Frames() const { return frames_; }

    // One token; at is where it starts in the line and is moved past it.
    void Token(std::string_view line, size_t& at)
    {
        const size_t start = at;
        while (at < line.size() && IsDigit(line[at]))
            ++at;
        if (at == line.size())
            in_.Fail("input token " + Quoted(line.substr(start)) + " has no input symbol");
        const std::string_view digits = line.substr(start, at - start);
        const int mark = TInputSymbols::Mark(line[at]);
        if (mark != TInputSymbols::NoInput && ++at == line.size())
            in_.Fail("input token " + Quoted(line.substr(start)) + " has no input symbol");
        const std::string_view token = line.substr(start, at - start + 1);
        const int input = InputSymbols().Input(line[at++]);
        if (input == TInputSymbols::NoInput || (mark != TInputSymbols::NoInput && input == InputPaused))
            in_.Fail("input token " + Quoted(token) + ": unknown input symbol");
        const auto symbol = static_cast<TFrameInput>(input | (mark == TInputSymbols::NoInput ? 0 : mark));
        if (!ValidInput(symbol, r_.start.options))
            in_.Fail("input token " + Quoted(token) + ": a control the play's options leave off");
        if (IsHeld(symbol)) {
            const int64_t frames = digits.empty() ? 1 : in_.Integer(digits, "input run length", 2, r_.frames);
            Add(symbol, static_cast<uint64_t>(frames), token);
            heldChanged_ = symbol != held_;
            held_ = symbol;
            afterHeld_ = true;
            return;
        }
        if (!digits.empty())
            Add(held_, static_cast<uint64_t>(in_.Integer(digits, "input run length", 1, r_.frames)), token);
        else if (afterHeld_ && !heldChanged_)
            in_.Fail("input token " + Quoted(token) + " should carry the frames of the run before it");
        Add(symbol, 1, token);
        afterHeld_ = false;
    }

private:
    void Add(TFrameInput input, uint64_t frames, std::string_view token)
    {
        frames_ += frames;
        if (frames_ > r_.frames)
            in_.Fail("the input runs last longer than the " + std::to_string(r_.frames) + " frames of the play");
        if (!r_.inputs.empty() && r_.inputs.back().input == input) {
            if (IsHeld(input))
                in_.Fail("input token " + Quoted(token) + " repeats the input of the run before it");
            r_.inputs.back().frames += static_cast<uint32_t>(frames);
            return;
        }
        r_.inputs.push_back({input, static_cast<uint32_t>(frames)});
    }

    const TLineReader& in_;
    TReplay& r_;
    uint64_t frames_ = 0;
    TFrameInput held_ = 0;
    bool heldChanged_ = false; // the last held token made its input the held one
    bool afterHeld_ = false;   // the last token was a held one
};

void ParseInputs(TLineReader& in, TReplay& r)
{
    const auto tokens = static_cast<uint64_t>(in.Integer(in.Record("inputs", 1)[1], "inputs", 1, r.frames));
    TInputReader reader(in, r);
    for (uint64_t done = 0; done < tokens;) {
        const auto w = in.Record("input", 2);
        if (static_cast<uint64_t>(in.Integer(w[1], "input start frame", 0, r.frames)) != reader.Frames())
            in.Fail("input: the line starts at frame " + std::string(w[1]) + " but the runs before it end at frame " +
                    std::to_string(reader.Frames()));
        const uint64_t expected = std::min<uint64_t>(ReplayTokensPerLine, tokens - done);
        size_t at = 0;
        for (uint64_t k = 0; k < expected; ++k) {
            if (at == w[2].size())
                in.Fail("input: expected " + std::to_string(expected) + " tokens, found " + std::to_string(k));
            reader.Token(w[2], at);
        }
        if (at != w[2].size())
            in.Fail("input: more than " + std::to_string(expected) + " tokens on the line");
        done += expected;
    }
    if (reader.Frames() != r.frames)
        in.Fail("the input runs cover " + std::to_string(reader.Frames()) + " frames, the play has " +
                std::to_string(r.frames));
}

void ParseChecks(TLineReader& in, TReplay& r)
{
    const auto checks = in.Integer(in.Record("checks", 1)[1], "checks", 0, r.frames);
    for (int64_t i = 0; i < checks; ++i) {
        const auto w = in.Record("check", 3);
        TReplayCheck c;
        c.frame = static_cast<uint32_t>(in.Integer(w[1], "check frame", 0, r.frames - 1));
        if (!r.checks.empty() && c.frame <= r.checks.back().frame)
            in.Fail("check frames must rise: " + std::string(w[1]) + " follows " + std::to_string(r.checks.back().frame));
        c.score = static_cast<int32_t>(in.Integer(w[2], "check score", 0, std::numeric_limits<int32_t>::max()));
        c.board = in.Hex(w[3], "check board");
        r.checks.push_back(c);
    }
    const bool agrees = (r.checks.empty() ? 0 : r.checks.back().score) == r.score;
    if (!agrees)
        in.Fail("the last check disagrees with the final score of the header");
}

bool IsChecksumLine(std::string_view line) { return line.substr(0, ChecksumKey.size()) == ChecksumKey; }

// The body the checksum line covers. The checksum line is the first one that matches everything
// before it; anything after it is refused, as nothing protects it.
std::string_view CheckedBody(std::string_view text)
{
    THash64 hash;
    size_t lastChecksumAt = std::string_view::npos;
    int lineNumber = 0, lastChecksumLine = 0;
    for (size_t at = 0; at < text.size();) {
        const size_t end = text.find('\n', at);
        if (end == std::string_view::npos)
            break;
        ++lineNumber;
        const std::string_view line = text.substr(at, end - at);
        if (IsChecksumLine(line)) {
            lastChecksumAt = at;
            lastChecksumLine = lineNumber;
            if (line.substr(ChecksumKey.size()) == FormatHex(hash.Value())) {
                if (end + 1 == text.size())
                    return text.substr(0, at);
                const std::string_view rest = text.substr(end + 1);
                throw TParseError{"line " + std::to_string(lineNumber + 1) +
                                  ": the file goes on after its checksum line, found " +
                                  Quoted(rest.substr(0, rest.find('\n')))};
            }
        }
        hash.AddText(text.substr(at, end + 1 - at));
        at = end + 1;
    }
    if (lastChecksumAt == std::string_view::npos || text.back() != '\n')
        throw TParseError{"the file is incomplete: it does not end with its checksum line"};
    if (text.find('\n', lastChecksumAt) + 1 != text.size())
        throw TParseError{"line " + std::to_string(lastChecksumLine) +
                          ": the checksum does not match, and the file goes on after this checksum line"};
    throw TParseError{"the checksum does not match: the file was changed or damaged"};
}

// The format version of the file.
int CheckMagic(std::string_view text)
{
    const std::string prefix = std::string(Magic) + " ";
    if (text.substr(0, prefix.size()) != prefix)
        throw TParseError{"this is not a Brimstrand replay"};
    TLineReader in(text);
    const auto w = in.Record(Magic, 1);
    const auto version = in.Integer(w[1], "format version", 0, std::numeric_limits<int32_t>::max());
    if (version < ReplayDefaultsFormatVersion || version > ReplayFormatVersion)
        throw TParseError{"replay format version " + std::string(w[1]) + " is not supported (this game reads versions " +
                          std::to_string(ReplayDefaultsFormatVersion) + " to " + std::to_string(ReplayFormatVersion) + ")"};
    return static_cast<int>(version);
}

} // namespace

uint64_t ReplayChecksum(std::string_view body)
{
    THash64 hash;
    hash.AddText(body);
    return hash.Value();
}

std::string ReplayProblem(const TReplay& r)
{
    if (!ValidVersion(r.gameVersion))
        return "the game version is not a short word";
    if (!ValidDate(r.date))
        return "the date is not a UTC time like 2026-12-08T20:44:33Z";
    if (!ValidName(r.name))
        return "the name is not up to three visible characters";
    if (r.score < 0)
        return "the score is negative";
    if (r.frames < 1 || r.frames > MaxReplayFrames)
        return "the play has no frames or more than a day of them";
    const TReplayStart& s = r.start;
    if (!s.options.Valid())
        return "an option is out of range";
    if (s.challenge == TChallenge::Daily ? !ValidDay(s.day) : !s.day.empty())
        return "a daily play has no valid day, or another play has one";
    if (!InRange(r.result, 0, MaxChallengeResult) || (s.challenge == TChallenge::None && r.result != 0))
        return "the challenge result is out of range";
    if (!InRange(s.seed, 1, MaxSeed) || !InRange(s.visibility, 0, 1) || !InRange(s.backtimer, 0, MaxBackgroundCounter) ||
        !InRange(s.backindex, 0, MaxBackgroundPicture) || !InRange(s.backprev, 0, MaxBackgroundPicture))
        return "a start value is out of range";
    for (float v : {s.tint, s.wobble, s.wobblev, s.flash, s.glow, s.backfade, s.backangle})
        if (!ValidEffect(v))
            return "an effect level is not a finite number of at most 1e7";
    if (s.fireworks.size() > MaxReplayFireworks || s.booms.size() > MaxReplayBooms)
        return "too many effects in flight";
    for (const auto& f : s.fireworks)
        for (float v : {f.x, f.y, f.xv, f.yv, f.size})
            if (!ValidEffect(v) || !ValidRise(f.yv))
                return "a firework is not made of finite numbers of at most 1e7 or does not rise";
    for (const auto& b : s.booms)
        if (!InRange(b.x, -MaxPosition, MaxPosition) || !InRange(b.y, -MaxPosition, MaxPosition) ||
            !InRange(b.time, 0, MaxBoomTime))
            return "a flash is out of range";
    uint64_t frames = 0;
    for (size_t i = 0; i < r.inputs.size(); ++i) {
        if (r.inputs[i].frames == 0 || !ValidInput(r.inputs[i].input, s.options))
            return "an input run is empty or holds an unknown input";
        if (i > 0 && r.inputs[i - 1].input == r.inputs[i].input)
            return "two input runs in a row hold the same input";
        frames += r.inputs[i].frames;
    }
    if (frames != r.frames)
        return "the input runs do not cover the play's frames";
    for (size_t i = 0; i < r.checks.size(); ++i) {
        const TReplayCheck& c = r.checks[i];
        if (c.frame >= r.frames || c.score < 0 || (i > 0 && c.frame <= r.checks[i - 1].frame))
            return "a check is out of order or out of the play";
    }
    const bool agrees = (r.checks.empty() ? 0 : r.checks.back().score) == r.score;
    if (!agrees)
        return "the last check disagrees with the final score";
    return {};
}

std::string WriteReplay(const TReplay& r)
{
    TLineWriter out;
    out.Word(Magic).Number(FormatVersion(r.start)).End();
    out.Word("game").Word(r.gameVersion).End();
    out.Word("date").Word(r.date).End();
    out.Word("name");
    if (!r.name.empty())
        out.Word(r.name);
    out.End();
    out.Word("score").Number(r.score).End();
    out.Word("frames").Number(r.frames).End();
    out.Word("board").Word(FormatHex(r.board)).End();
    WriteStart(out, r);
    WriteInputs(out, r.inputs);
    out.Word("checks").Number(static_cast<int64_t>(r.checks.size())).End();
    for (const auto& c : r.checks)
        out.Word("check").Number(c.frame).Number(c.score).Word(FormatHex(c.board)).End();
    return out.Text() + ReplayChecksumLine(out.Text());
}

std::string ReplayChecksumLine(std::string_view body)
{
    return std::string(ChecksumKey) + FormatHex(ReplayChecksum(body)) + "\n";
}

bool ParseReplay(std::string_view text, TReplay& replay, std::string& error)
{
    replay = TReplay{};
    try {
        if (text.size() > MaxReplayBytes)
            throw TParseError{"the file is larger than " + std::to_string(MaxReplayBytes >> 20) + " MiB"};
        const int version = CheckMagic(text);
        TLineReader in(CheckedBody(text));
        in.Record(Magic, 1);
        ParseHeader(in, replay);
        ParseStart(in, replay, version);
        ParseInputs(in, replay);
        ParseChecks(in, replay);
        in.ExpectEnd();
        error.clear();
        return true;
    } catch (const TParseError& e) {
        error = e.message;
        return false;
    }
}
