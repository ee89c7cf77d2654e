#include "game/replay_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "game/hash64.h"

namespace {

// A play with every kind of record: effects in flight, every input code, more runs than fit on
// one input line, and checks.
TReplay RichReplay()
{
    TReplay r;
    r.gameVersion = "1.0";
    r.date = "2026-12-08T20:44:33Z";
    r.name = "AB?";
    r.start.seed = 987654321;
    r.start.tint = 238.5f;
    r.start.wobble = -0.75f;
    r.start.wobblev = 1.2338f;
    r.start.flash = 0.1f;
    r.start.glow = -0.21f;
    r.start.visibility = 0;
    r.start.backtimer = 6699;
    r.start.backindex = 4;
    r.start.backprev = 9;
    r.start.backfade = 0.3333f;
    r.start.backangle = 1234.56f;
    r.start.fireworks = {{100.5f, 512.9f, -1.05f, -16.2f, 0.83f, 180, 250, 210}, {48, -3, 0, -5, 1.2f, 0, 255, 7}};
    r.start.booms = {{96, 40, 11}, {-16, 530, 0}};
    const TFrameInput cycle[] = {0, InputLeft, InputPaused, InputRotLeft | InputFast, InputControls, InputRight,
                                 InputRotRight | InputLeft};
    for (int i = 0; i < 40; ++i) {
        const TInputRun run{cycle[i % 7], static_cast<uint32_t>(1 + i * 37 % 300)};
        r.inputs.push_back(run);
        r.frames += run.frames;
    }
    r.checks = {{0, 0, 0x0123456789abcdefull}, {700, 25, 0xfedcba9876543210ull}, {r.frames - 1, 75, 42}};
    r.score = 75;
    r.board = 42;
    return r;
}

std::string Text() { return WriteReplay(RichReplay()); }

// The rich play with every option on, and inputs that use the hard drop and the hold, alone,
// together and with the other controls.
TReplay OptionsReplay()
{
    TReplay r = RichReplay();
    r.start.options = {3, true, true, true, TPace::Rapid, true};
    const TFrameInput extra[] = {InputHardDrop, InputHold, InputHardDrop | InputHold, InputHardDrop | InputFast,
                                 InputHold | InputLeft | InputRotRight, InputHardDrop | InputControls};
    for (size_t i = 0; i < r.inputs.size(); i += 3)
        r.inputs[i].input = extra[(i / 3) % 6];
    return r;
}

std::string OptionsText() { return WriteReplay(OptionsReplay()); }


// The text up to its checksum line.
std::string Body(const std::string& text) { return text.substr(0, text.rfind("checksum ")); }

// A body edited by hand, with a checksum that matches again, so the checks behind it are reached.
std::string Signed(const std::string& body) { return body + ReplayChecksumLine(body); }

std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

std::string Edited(const std::string& from, const std::string& to) { return Signed(Replaced(Body(Text()), from, to)); }

std::string OptionsEdited(const std::string& from, const std::string& to)
{
    return Signed(Replaced(Body(OptionsText()), from, to));
}

// The error for text, which must be refused with a single line.
std::string Refusal(const std::string& text)
{
    TReplay r;
    std::string error;
    EXPECT_FALSE(ParseReplay(text, r, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    return error;
}

#define EXPECT_REFUSED(text, part)                                                                                   \
    do {                                                                                                               \
        const std::string refusal = Refusal(text);                                                                     \
        EXPECT_NE(refusal.find(part), std::string::npos) << refusal;                                                   \
    } while (0)

} // namespace

TEST(ReplayFormat, RoundTripKeepsEveryFieldAndEveryByte)
{
    const TReplay original = RichReplay();
    ASSERT_EQ(ReplayProblem(original), "");
    const std::string text = WriteReplay(original);
    TReplay read;
    std::string error;
    ASSERT_TRUE(ParseReplay(text, read, error)) << error;
    EXPECT_EQ(read, original);
    EXPECT_EQ(WriteReplay(read), text);

    TReplay nameless = original;
    nameless.name.clear();
    ASSERT_TRUE(ParseReplay(WriteReplay(nameless), read, error)) << error;
    EXPECT_EQ(read, nameless);
}

TEST(ReplayFormat, ReadsTheDocumentedLayout)
{
    const std::string body = "brimstrand-replay 1\n"
                             "game 1.0\n"
                             "date 2024-02-29T23:59:59Z\n"
                             "name ABC\n"
                             "score 25\n"
                             "frames 40\n"
                             "board 00000000000000ff\n"
                             "seed 1234\n"
                             "effects tint=250 wobble=0 wobblev=1.5 flash=0.54 glow=0\n"
                             "visibility 1\n"
                             "background timer=6700 index=3 prev=0 fade=0 angle=42\n"
                             "fireworks 1\n"
                             "firework 100 500 0.5 -7 1 190 245 200\n"
                             "booms 0\n"
                             "inputs 27\n"
                             "input 0 10Q4paaaaaaaaaaaaaaaaaaaaaaaaa\n"
                             "checks 1\n"
                             "check 39 25 00000000000000ff\n";
    TReplay r;
    std::string error;
    ASSERT_TRUE(ParseReplay(Signed(body), r, error)) << error;
    EXPECT_EQ(r.name, "ABC");
    EXPECT_EQ(r.score, 25);
    EXPECT_EQ(r.frames, 40u);
    EXPECT_EQ(r.board, 255u);
    EXPECT_EQ(r.start.seed, 1234);
    EXPECT_EQ(r.start.wobblev, 1.5f);
    EXPECT_EQ(r.start.backtimer, 6700);
    ASSERT_EQ(r.start.fireworks.size(), 1u);
    EXPECT_EQ(r.start.fireworks[0].yv, -7.0f);
    const std::vector<TInputRun> runs = {{0, 10}, {InputRotLeft | InputFast, 1}, {InputPaused, 4}, {InputLeft, 25}};
    EXPECT_EQ(r.inputs, runs);
    EXPECT_EQ(r.checks, (std::vector<TReplayCheck>{{39, 25, 255}}));
}

TEST(ReplayFormat, ChecksumIsSixtyFourBitFnv1a)
{
    // Published test vectors of the algorithm.
    EXPECT_EQ(ReplayChecksum(""), 0xcbf29ce484222325ull);
    EXPECT_EQ(ReplayChecksum("a"), 0xaf63dc4c8601ec8cull);
    EXPECT_EQ(ReplayChecksum("foobar"), 0x85944171f73967e8ull);
}

TEST(ReplayFormat, RefusesWhatIsNotAReplayOfThisVersion)
{
    EXPECT_REFUSED("", "not a Brimstrand replay");
    EXPECT_REFUSED("\x89PNG\r\n\x1a\n", "not a Brimstrand replay");
    EXPECT_REFUSED(Replaced(Text(), "brimstrand-replay 1", "brimstrand-replay 4"), "version 4 is not supported");
    // A version 2 file carries its options before the seed.
    EXPECT_REFUSED(Signed(Replaced(Body(Text()), "brimstrand-replay 1", "brimstrand-replay 2")),
                   "expected \"options\", found \"seed\"");
    EXPECT_REFUSED(Replaced(Text(), "brimstrand-replay 1", "brimstrand-replay 0"), "version 0 is not supported");
    EXPECT_REFUSED(Replaced(Text(), "brimstrand-replay 1", "brimstrand-replay 01"), "format version");
    EXPECT_REFUSED(Replaced(Text(), "brimstrand-replay 1", "brimstrand-replay 99999999999"), "format version");
}

TEST(ReplayFormat, RefusesEveryTruncation)
{
    const std::string text = Text();
    for (size_t length = 0; length < text.size(); ++length) {
        TReplay r;
        std::string error;
        ASSERT_FALSE(ParseReplay(std::string_view(text).substr(0, length), r, error)) << length;
        ASSERT_EQ(error.find('\n'), std::string::npos) << error;
    }
    EXPECT_REFUSED(text.substr(0, text.size() - 1), "does not end with its checksum line");
    EXPECT_REFUSED(Body(text), "does not end with its checksum line");
}

TEST(ReplayFormat, RefusesEditsTheChecksumDoesNotCover)
{
    std::string text = Text();
    const size_t score = text.find("score 75");
    text[score + 6] = '9';
    EXPECT_REFUSED(text, "checksum does not match");
    EXPECT_REFUSED(Replaced(Text(), "checksum ", "checksum 0"), "checksum does not match");
}

TEST(ReplayFormat, RefusesWhatFollowsTheChecksumLineSayingSo)
{
    const std::string text = Text();
    const std::string next = std::to_string(std::count(text.begin(), text.end(), '\n') + 1);
    EXPECT_REFUSED(text + "seed 1\n", "line " + next + ": the file goes on after its checksum line, found \"seed 1\"");
    EXPECT_REFUSED(text + "\n", "line " + next + ": the file goes on after its checksum line, found \"\"");
    EXPECT_REFUSED(text + "x", "the file goes on after its checksum line, found \"x\"");
    EXPECT_REFUSED(text + text, "the file goes on after its checksum line, found \"brimstrand-replay 1\"");
    EXPECT_REFUSED(Replaced(text, "checksum ", "checksum 0") + "seed 1\n",
                   "the checksum does not match, and the file goes on after this checksum line");
}

TEST(ReplayFormat, RefusesReorderedAndExtraLines)
{
    EXPECT_REFUSED(Edited("score 75\nframes ", "frames 75\nscore "), "expected \"score\"");
    EXPECT_REFUSED(Edited("visibility 0\n", ""), "expected \"visibility\"");
    // Two input lines swapped: the second no longer starts where the first ended.
    const std::string body = Body(Text());
    const size_t first = body.find("input 0 ");
    const size_t second = body.find("input ", first + 1);
    const size_t third = body.find("input ", second + 1);
    std::string swapped = body.substr(0, first) + body.substr(second, third - second) +
                          body.substr(first, second - first) + body.substr(third);
    EXPECT_REFUSED(Signed(swapped), "but the runs before it end at frame 0");
    EXPECT_REFUSED(Signed(body + "check 1 2 0000000000000003\n"), "only the checksum line may follow the checks, found \"check\"");
    EXPECT_REFUSED(Signed(body + ReplayChecksumLine(body)), "the file goes on after its checksum line, found \"checksum ");
}

TEST(ReplayFormat, RefusesAbsurdCountsBeforeReadingOn)
{
    EXPECT_REFUSED(Edited("frames ", "frames 99999"), "frames: expected a whole number from 1 to 5184000");
    EXPECT_REFUSED(Edited("fireworks 2", "fireworks 257"), "fireworks: expected a whole number from 0 to 256");
    EXPECT_REFUSED(Edited("fireworks 2", "fireworks 3"), "expected \"firework\", found \"booms\"");
    EXPECT_REFUSED(Edited("booms 2", "booms 1000000000000"), "booms: expected a whole number");
    const std::string body = Body(Text());
    const size_t at = body.find("inputs ") + 7;
    const std::string count = body.substr(at, body.find('\n', at) - at);
    EXPECT_REFUSED(Edited("inputs " + count, "inputs 4000000"), "inputs: expected a whole number from 1 to");
    EXPECT_REFUSED(Edited("inputs " + count, "inputs " + std::to_string(std::stoi(count) + 1)), "input: expected ");
    EXPECT_REFUSED(Edited("checks 3", "checks 2"), "the last check disagrees");
    EXPECT_REFUSED(Edited("checks 3", "checks 4"), "the file ends where \"check\" was expected");
    EXPECT_REFUSED(Edited("checks 3", "checks 99999999999999999999"), "checks: expected a whole number");
}

TEST(ReplayFormat, RefusesInputsThatDoNotCoverThePlay)
{
    const TReplay r = RichReplay();
    EXPECT_REFUSED(Edited("frames " + std::to_string(r.frames), "frames " + std::to_string(r.frames + 1)),
                   "the input runs cover");
    EXPECT_REFUSED(Edited("input 0 1a", "input 0 2a"), "but the runs before it end at frame");
}

// A play of the given frames whose inputs are the given tokens on one line.
std::string WithInputs(int frames, int tokens, const std::string& line)
{
    return Signed("brimstrand-replay 1\ngame 1.0\ndate 2024-02-29T23:59:59Z\nname\nscore 0\nframes " +
                  std::to_string(frames) + "\nboard 0000000000000000\nseed 1234\n"
                  "effects tint=250 wobble=0 wobblev=0 flash=0 glow=0\nvisibility 1\n"
                  "background timer=0 index=0 prev=0 fade=0 angle=0\nfireworks 0\nbooms 0\ninputs " +
                  std::to_string(tokens) + "\ninput 0 " + line + "\nchecks 0\n");
}

TEST(ReplayFormat, AcceptsOnlyTheWritersSpellingOfTheInputs)
{
    TReplay r;
    std::string error;
    ASSERT_TRUE(ParseReplay(WithInputs(7, 4, "3sa2-E"), r, error)) << error;
    EXPECT_EQ(r.inputs, (std::vector<TInputRun>{{InputFast, 3}, {InputLeft, 1}, {0, 2}, {InputRotRight | InputFast, 1}}));
    ASSERT_TRUE(ParseReplay(WithInputs(8, 4, "3aa2-s"), r, error)) << error;
    EXPECT_EQ(r.inputs, (std::vector<TInputRun>{{0, 3}, {InputLeft, 2}, {0, 2}, {InputFast, 1}}));
    // Every other spelling of the same runs, and symbols that name nothing.
    EXPECT_REFUSED(WithInputs(4, 2, "3-a"), "should carry the frames of the run before it");
    EXPECT_REFUSED(WithInputs(5, 2, "3-2-"), "repeats the input of the run before it");
    EXPECT_REFUSED(WithInputs(6, 2, "3s2a"), "repeats the input of the run before it");
    EXPECT_REFUSED(WithInputs(2, 2, "1-a"), "input run length");
    EXPECT_REFUSED(WithInputs(1, 1, "0a"), "input run length");
    EXPECT_REFUSED(WithInputs(4, 1, "03a"), "input run length");
    EXPECT_REFUSED(WithInputs(4, 1, "3x"), "unknown input symbol");
    EXPECT_REFUSED(WithInputs(4, 1, "3"), "has no input symbol");
    EXPECT_REFUSED(WithInputs(5, 1, "3aa"), "more than 1 tokens on the line");
    EXPECT_REFUSED(WithInputs(5, 3, "3aa"), "expected 3 tokens, found 2");
    EXPECT_REFUSED(WithInputs(3, 2, "3sa"), "last longer than the 3 frames");
}

TEST(ReplayFormat, RefusesChecksOutOfOrderOrAtOddsWithTheHeader)
{
    EXPECT_REFUSED(Edited("check 700 ", "check 0 "), "check frames must rise");
    EXPECT_REFUSED(Edited("score 75", "score 76"), "the last check disagrees");
    const TReplay r = RichReplay();
    EXPECT_REFUSED(Edited("check " + std::to_string(r.frames - 1), "check " + std::to_string(r.frames)),
                   "check frame: expected a whole number");
}

TEST(ReplayFormat, RefusesValuesOutOfTheirRange)
{
    EXPECT_REFUSED(Edited("seed 987654321", "seed 0"), "seed: expected a whole number from 1 to 2147483646");
    EXPECT_REFUSED(Edited("seed 987654321", "seed 2147483647"), "seed");
    EXPECT_REFUSED(Edited("score 75", "score -75"), "score: expected");
    EXPECT_REFUSED(Edited("visibility 0", "visibility 2"), "visibility");
    EXPECT_REFUSED(Edited("tint=238.5", "tint=nan"), "tint: expected a number, found \"nan\"");
    EXPECT_REFUSED(Edited("tint=238.5", "tint=2x"), "tint: expected a number, found \"2x\"");
    EXPECT_REFUSED(Edited("tint=238.5", "tint=inf"), "tint: expected a finite number of at most 1e7 in size");
    EXPECT_REFUSED(Edited("tint=238.5", "tint=1e+30"), "tint: expected a finite number of at most 1e7 in size");
    EXPECT_REFUSED(Edited("tint=238.5", "tint=1e+39"), "tint: expected a finite number of at most 1e7 in size");
    EXPECT_REFUSED(Edited("tint=238.5", "tint=1e-50"), "tint: \"1e-50\" is too close to 0 for a 32-bit float");
    EXPECT_REFUSED(Edited("tint=238.5", "tnt=238.5"), "expected tint=");
    EXPECT_REFUSED(Edited("timer=6699", "timer=-1"), "timer");
    EXPECT_REFUSED(Edited("index=4", "index=256"), "index");
    EXPECT_REFUSED(Edited("180 250 210", "180 256 210"), "firework green");
    // A firework that does not rise would stay in the window, and cost every frame, for ever.
    EXPECT_REFUSED(Edited("-1.05 -16.2 ", "-1.05 0 "), "firework yv: expected a rise from -17 to -5");
    EXPECT_REFUSED(Edited("-1.05 -16.2 ", "-1.05 -17.5 "), "firework yv");
    EXPECT_REFUSED(Edited("boom 96 40 11", "boom 96 40 256"), "boom time");
    EXPECT_REFUSED(Edited("board 000000000000002a", "board 000000000000002A"), "16 lowercase hexadecimal digits");
    EXPECT_REFUSED(Edited("board 000000000000002a", "board 2a"), "16 lowercase hexadecimal digits");
    EXPECT_REFUSED(Edited("date 2026-12-08", "date 2026-13-08"), "date: expected a UTC time");
    EXPECT_REFUSED(Edited("date 2026-12-08", "date 2026-02-29"), "date: expected a UTC time");
    EXPECT_REFUSED(Edited("T20:44:33Z", "T24:44:33Z"), "date: expected a UTC time");
    EXPECT_REFUSED(Edited("T20:44:33Z", "T20:44:33"), "date: expected a UTC time");
    EXPECT_REFUSED(Edited("name AB?", "name ABCD"), "name: expected up to three");
    EXPECT_REFUSED(Edited("name AB?", "name A B"), "name: expected up to three");
    EXPECT_REFUSED(Edited("game 1.0", "game 1/0"), "game: expected a version");
}

TEST(ReplayFormat, NumbersHaveOneSpellingAndARefusalGivesIt)
{
    // The largest level there is, written as the game writes it, reads back.
    TReplay largest = RichReplay();
    largest.start.tint = 1e7f;
    largest.start.fireworks[0].x = -1e7f;
    const std::string text = WriteReplay(largest);
    EXPECT_NE(text.find("tint=1e+07 "), std::string::npos);
    TReplay read;
    std::string error;
    ASSERT_TRUE(ParseReplay(text, read, error)) << error;
    EXPECT_EQ(read, largest);
    // Every other spelling of it is refused naming the one the file should hold.
    const std::string body = Body(text);
    for (const char* other : {"1e7", "1E7", "10000000", "1.0e+07", "1e+007"})
        EXPECT_REFUSED(Signed(Replaced(body, "tint=1e+07", std::string("tint=") + other)),
                       "tint: \"" + std::string(other) + "\" is not in its shortest form \"1e+07\"");
    EXPECT_REFUSED(Signed(Replaced(body, "\nfirework -1e+07 ", "\nfirework -10000000 ")),
                   "firework x: \"-10000000\" is not in its shortest form \"-1e+07\"");
    EXPECT_REFUSED(Edited("tint=238.5", "tint=238.50"), "tint: \"238.50\" is not in its shortest form \"238.5\"");
    EXPECT_REFUSED(Edited("tint=238.5", "tint=10000001"), "tint: expected a finite number of at most 1e7 in size");
}

TEST(ReplayFormat, RefusesLinesThatAreNotPlainText)
{
    std::string crlf;
    for (char c : Body(Text()))
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_REFUSED(Signed(crlf), "not printable ASCII");
    EXPECT_REFUSED(Edited("score 75", "score  75"), "single spaces");
    EXPECT_REFUSED(Edited("score 75", "score 75 "), "single spaces");
    EXPECT_REFUSED(Edited("score 75\n", "score 75\n\n"), "the line is empty");
    EXPECT_REFUSED(Edited("name AB?", "name \xc3\xa9"), "not printable ASCII");
    EXPECT_REFUSED(Edited("name AB?", "name AB?" + std::string(600, 'x')), "longer than 512");
    std::string large = Text();
    large.resize(MaxReplayBytes + 1, 'x');
    EXPECT_REFUSED(large, "larger than 16 MiB");
}

TEST(ReplayFormat, RandomAndMutatedTextsAreRefusedOnOneLineOrReadExactly)
{
    std::mt19937 rng(17);
    const std::string body = Body(Text());
    for (int i = 0; i < 3000; ++i) {
        std::string text;
        if (i % 3 == 0) {
            text.resize(rng() % 300);
            for (char& c : text)
                c = static_cast<char>(rng());
        } else {
            text = body;
            for (int edits = 1 + static_cast<int>(rng() % 3); edits > 0; --edits) {
                const size_t at = rng() % text.size();
                switch (rng() % 3) {
                case 0: text[at] = static_cast<char>(" -0123456789pqeadsx\n"[rng() % 20]); break;
                case 1: text.erase(at, 1 + rng() % 8); break;
                default: text.insert(at, text.substr(rng() % text.size(), 1 + rng() % 8)); break;
                }
            }
            text = Signed(text);
        }
        TReplay r;
        std::string error;
        if (ParseReplay(text, r, error)) {
            ASSERT_EQ(ReplayProblem(r), "");
            ASSERT_EQ(WriteReplay(r), text);
        } else {
            ASSERT_FALSE(error.empty());
            ASSERT_EQ(error.find('\n'), std::string::npos) << error;
        }
    }
}

TEST(ReplayFormat, ProblemsKeepAReplayFromBeingWritten)
{
    EXPECT_EQ(ReplayProblem(RichReplay()), "");
    auto broken = [](auto edit) {
        TReplay r = RichReplay();
        edit(r);
        return ReplayProblem(r);
    };
    EXPECT_NE(broken([](TReplay& r) { r.start.tint = std::nanf(""); }), "");
    EXPECT_NE(broken([](TReplay& r) { r.start.fireworks[0].x = 1e9f; }), "");
    EXPECT_NE(broken([](TReplay& r) { r.start.fireworks[0].yv = 1; }), "");
    EXPECT_NE(broken([](TReplay& r) { r.start.seed = 0; }), "");
    EXPECT_NE(broken([](TReplay& r) { r.name = "ABCD"; }), "");
    EXPECT_NE(broken([](TReplay& r) { r.name = "A B"; }), "");
    EXPECT_NE(broken([](TReplay& r) { r.date = "yesterday"; }), "");
    EXPECT_NE(broken([](TReplay& r) { r.gameVersion = ""; }), "");
    EXPECT_NE(broken([](TReplay& r) { r.frames += 1; }), "");
    EXPECT_NE(broken([](TReplay& r) { r.inputs[1].input = r.inputs[0].input; }), "");
    EXPECT_NE(broken([](TReplay& r) { r.inputs[1].input = InputPaused | InputLeft; }), "");
    EXPECT_NE(broken([](TReplay& r) { r.checks[1].frame = 0; }), "");
    EXPECT_NE(broken([](TReplay& r) { r.score = 80; }), "");
    EXPECT_NE(broken([](TReplay& r) { r.start.booms.assign(MaxReplayBooms + 1, {}); }), "");
}

TEST(ReplayFormat, OptionsAndTheirControlsRoundTripInVersionTwo)
{
    const TReplay original = OptionsReplay();
    ASSERT_EQ(ReplayProblem(original), "");
    const std::string text = WriteReplay(original);
    EXPECT_EQ(text.substr(0, 20), "brimstrand-replay 2\n");
    EXPECT_NE(text.find("\noptions next=3 shadow=1 harddrop=1 hold=1 pace=rapid figures=1\nseed "), std::string::npos);
    TReplay read;
    std::string error;
    ASSERT_TRUE(ParseReplay(text, read, error)) << error;
    EXPECT_EQ(read, original);
    EXPECT_EQ(WriteReplay(read), text);

    // Each option on its own is enough for version 2.
    void (*const switches[])(TPlayOptions&) = {
        [](TPlayOptions& o) { o.nextPieces = 1; }, [](TPlayOptions& o) { o.landingShadow = true; },
        [](TPlayOptions& o) { o.hardDrop = true; }, [](TPlayOptions& o) { o.hold = true; },
        [](TPlayOptions& o) { o.pace = TPace::Brisk; }, [](TPlayOptions& o) { o.playFigures = true; }};
    for (int i = 0; i < 6; ++i) {
        TReplay one = RichReplay();
        switches[i](one.start.options);
        const std::string written = WriteReplay(one);
        EXPECT_EQ(written.substr(0, 20), "brimstrand-replay 2\n") << i;
        ASSERT_TRUE(ParseReplay(written, read, error)) << i << ": " << error;
        EXPECT_EQ(read, one) << i;
    }
}

TEST(ReplayFormat, DefaultOptionsAreWrittenAndReadAsVersionOne)
{
    const std::string text = Text();
    EXPECT_EQ(text.substr(0, 20), "brimstrand-replay 1\n");
    EXPECT_EQ(text.find("options"), std::string::npos);
    TReplay read;
    std::string error;
    ASSERT_TRUE(ParseReplay(text, read, error)) << error;
    EXPECT_TRUE(read.start.options.AllDefault());
}

TEST(ReplayFormat, ReadsTheDocumentedInputsOfTheOptionControls)
{
    const std::string body = "brimstrand-replay 2\n"
                             "game 1.0\n"
                             "date 2024-02-29T23:59:59Z\n"
                             "name\n"
                             "score 0\n"
                             "frames 20\n"
                             "board 00000000000000ff\n"
                             "options next=2 shadow=0 harddrop=1 hold=1 pace=brisk figures=0\n"
                             "seed 1234\n"
                             "effects tint=250 wobble=0 wobblev=0 flash=0 glow=0\n"
                             "visibility 1\n"
                             "background timer=0 index=0 prev=0 fade=0 angle=0\n"
                             "fireworks 0\n"
                             "booms 0\n"
                             "inputs 6\n"
                             "input 0 10!-^a*s4s!s2-\n"
                             "checks 0\n";
    TReplay r;
    std::string error;
    ASSERT_TRUE(ParseReplay(Signed(body), r, error)) << error;
    EXPECT_EQ(r.start.options, (TPlayOptions{2, false, true, true, TPace::Brisk, false}));
    const std::vector<TInputRun> runs = {{0, 10},
                                         {InputHardDrop, 1},
                                         {InputHold | InputLeft, 1},
                                         {InputHardDrop | InputHold | InputFast, 1},
                                         {InputFast, 4},
                                         {InputHardDrop | InputFast, 1},
                                         {0, 2}};
    EXPECT_EQ(r.inputs, runs);
}

TEST(ReplayFormat, RefusesBadOptionValues)
{
    EXPECT_REFUSED(OptionsEdited("next=3", "next=4"), "options next: expected a whole number from 0 to 3");
    EXPECT_REFUSED(OptionsEdited("next=3", "next=-1"), "options next");
    EXPECT_REFUSED(OptionsEdited("next=3", "next=03"), "options next");
    EXPECT_REFUSED(OptionsEdited("shadow=1", "shadow=2"), "options shadow: expected 0 or 1");
    EXPECT_REFUSED(OptionsEdited("harddrop=1", "harddrop=yes"), "options harddrop: expected 0 or 1");
    EXPECT_REFUSED(OptionsEdited("hold=1", "hold="), "options hold: expected 0 or 1");
    EXPECT_REFUSED(OptionsEdited("hold=1", "held=1"), "expected hold=");
    EXPECT_REFUSED(OptionsEdited("pace=rapid", "pace=slow"), "options pace: expected classic, brisk or rapid");
    EXPECT_REFUSED(OptionsEdited("pace=rapid", "pace=Rapid"), "options pace");
    EXPECT_REFUSED(OptionsEdited("figures=1", "figures=1 extra=1"), "\"options\" needs 6 values");
    EXPECT_REFUSED(OptionsEdited("shadow=1 harddrop=1", "harddrop=1 shadow=1"), "expected shadow=");
    // Every option at its default is version 1's, so version 2 may not spell it.
    TReplay plain = RichReplay();
    const std::string defaults = Signed(Replaced(Replaced(Body(WriteReplay(plain)), "brimstrand-replay 1", "brimstrand-replay 2"),
                                                 "\nseed ", "\noptions next=0 shadow=0 harddrop=0 hold=0 pace=classic figures=0\nseed "));
    EXPECT_REFUSED(defaults, "every option is at its default");
}

TEST(ReplayFormat, RefusesControlsTheOptionsLeaveOff)
{
    // Version 1 plays have neither control.
    const std::string version1 = "brimstrand-replay 1\n"
                                 "game 1.0\n"
                                 "date 2024-02-29T23:59:59Z\n"
                                 "name\n"
                                 "score 0\n"
                                 "frames 12\n"
                                 "board 00000000000000ff\n"
                                 "seed 1234\n"
                                 "effects tint=250 wobble=0 wobblev=0 flash=0 glow=0\n"
                                 "visibility 1\n"
                                 "background timer=0 index=0 prev=0 fade=0 angle=0\n"
                                 "fireworks 0\n"
                                 "booms 0\n"
                                 "inputs 2\n"
                                 "input 0 10a-\n"
                                 "checks 0\n";
    TReplay r;
    std::string error;
    ASSERT_TRUE(ParseReplay(Signed(version1), r, error)) << error;
    EXPECT_REFUSED(Signed(Replaced(version1, "10a", "10!a")), "a control the play's options leave off");
    EXPECT_REFUSED(Signed(Replaced(version1, "10a", "10^a")), "a control the play's options leave off");
    // A play with only the hold has no hard drop.
    EXPECT_REFUSED(OptionsEdited("harddrop=1", "harddrop=0"), "a control the play's options leave off");
    EXPECT_REFUSED(OptionsEdited("input 0 ", "input 0 !p"), "unknown input symbol");
    // A mark must be followed by an input of the five controls.
    EXPECT_REFUSED(Signed(Replaced(version1, "10a-", "10a!")), "has no input symbol");
    EXPECT_REFUSED(Signed(Replaced(version1, "10a-", "10a!!")), "unknown input symbol");
}

TEST(ReplayFormat, OptionProblemsKeepAReplayFromBeingWritten)
{
    auto broken = [](auto edit) {
        TReplay r = OptionsReplay();
        edit(r);
        return ReplayProblem(r);
    };
    EXPECT_EQ(broken([](TReplay&) {}), "");
    EXPECT_NE(broken([](TReplay& r) { r.start.options.nextPieces = MaxNextPieces + 1; }), "");
    EXPECT_NE(broken([](TReplay& r) { r.start.options.pace = static_cast<TPace>(PaceCount); }), "");
    EXPECT_NE(broken([](TReplay& r) { r.start.options.hardDrop = false; }), "");
    EXPECT_NE(broken([](TReplay& r) { r.start.options.hold = false; }), "");
    EXPECT_NE(broken([](TReplay& r) { r.inputs[1].input = InputPaused | InputHold; }), "");
}

TEST(ReplayFormat, MutatedOptionTextsAreRefusedOnOneLineOrReadExactly)
{
    std::mt19937 rng(23);
    const std::string body = Body(OptionsText());
    const size_t optionsAt = body.find("options");
    for (int i = 0; i < 2000; ++i) {
        std::string text = body;
        for (int edits = 1 + static_cast<int>(rng() % 3); edits > 0; --edits) {
            // Half the edits fall on the options line.
            const size_t at = i % 2 ? optionsAt + rng() % 60 : rng() % text.size();
            switch (rng() % 3) {
            case 0: text[at] = static_cast<char>(" -0123456789!^*pqeadsx=\n"[rng() % 24]); break;
            case 1: text.erase(at, 1 + rng() % 4); break;
            default: text.insert(at, text.substr(rng() % text.size(), 1 + rng() % 4)); break;
            }
        }
        text = Signed(text);
        TReplay r;
        std::string error;
        if (ParseReplay(text, r, error)) {
            ASSERT_EQ(ReplayProblem(r), "");
            ASSERT_EQ(WriteReplay(r), text);
        } else {
            ASSERT_FALSE(error.empty());
            ASSERT_EQ(error.find('\n'), std::string::npos) << error;
        }
    }
}

namespace {

TReplay ChallengeReplay(TChallenge challenge)
{
    TReplay r = RichReplay();
    r.start.challenge = challenge;
    r.start.day = challenge == TChallenge::Daily ? "2024-02-29" : "";
    r.result = challenge == TChallenge::Sprint ? 2345 : r.score;
    return r;
}

std::string ChallengeEdited(const std::string& from, const std::string& to)
{
    return Signed(Replaced(Body(WriteReplay(ChallengeReplay(TChallenge::Daily))), from, to));
}

} // namespace

TEST(ReplayFormat, ChallengesRoundTripInVersionThreeAndOthersKeepTheirVersion)
{
    for (TChallenge c : {TChallenge::Sprint, TChallenge::Ultra, TChallenge::Daily, TChallenge::Race}) {
        const TReplay original = ChallengeReplay(c);
        ASSERT_EQ(ReplayProblem(original), "") << ChallengeName(c);
        const std::string text = WriteReplay(original);
        EXPECT_EQ(text.substr(0, 20), "brimstrand-replay 3\n");
        TReplay read;
        std::string error;
        ASSERT_TRUE(ParseReplay(text, read, error)) << error;
        EXPECT_EQ(read, original);
        EXPECT_EQ(WriteReplay(read), text);
    }
    // Version 3 always writes the options, defaults included, then the challenge.
    const std::string daily = WriteReplay(ChallengeReplay(TChallenge::Daily));
    EXPECT_NE(daily.find("\noptions next=0 shadow=0 harddrop=0 hold=0 pace=classic figures=0\n"
                         "challenge kind=daily day=2024-02-29 result=75\nseed "),
              std::string::npos);
    EXPECT_NE(WriteReplay(ChallengeReplay(TChallenge::Sprint)).find("\nchallenge kind=sprint day=- result=2345\n"),
              std::string::npos);
    // Plays without a challenge are written as before challenges existed.
    EXPECT_EQ(WriteReplay(OptionsReplay()).substr(0, 20), "brimstrand-replay 2\n");
    EXPECT_EQ(Text().substr(0, 20), "brimstrand-replay 1\n");
}

TEST(ReplayFormat, RefusesBadChallengeValues)
{
    EXPECT_REFUSED(ChallengeEdited("kind=daily", "kind=none"), "challenge kind: expected sprint, ultra, daily or race");
    EXPECT_REFUSED(ChallengeEdited("kind=daily", "kind=marathon"), "challenge kind");
    EXPECT_REFUSED(ChallengeEdited("day=2024-02-29", "day=2023-02-29"), "challenge day: expected a date like");
    EXPECT_REFUSED(ChallengeEdited("day=2024-02-29", "day=-"), "challenge day");
    EXPECT_REFUSED(ChallengeEdited("kind=daily day=2024-02-29", "kind=sprint day=2024-02-29"), "challenge day: expected \"-\"");
    EXPECT_REFUSED(ChallengeEdited("result=75", "result=-1"), "challenge result");
    EXPECT_REFUSED(ChallengeEdited("result=75", "result=99999999999"), "challenge result");
    EXPECT_REFUSED(ChallengeEdited("result=75", "result=75 more=1"), "\"challenge\" needs 3 values");
    EXPECT_REFUSED(ChallengeEdited("\nchallenge kind=daily day=2024-02-29 result=75\n", "\n"), "expected \"challenge\"");

    TReplay noDay = ChallengeReplay(TChallenge::Daily);
    noDay.start.day = "";
    EXPECT_NE(ReplayProblem(noDay), "");
    TReplay stray = RichReplay();
    stray.result = 5;
    EXPECT_NE(ReplayProblem(stray), "");
}
