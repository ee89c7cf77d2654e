// The golden plays and the verification of replays, in the test process and through the real
// executable's --verify.
#include "app/cli/replay_verify.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/screens/play_recording.h"
#include "app/storage/replay_store.h"
#include "app/screens/frame.h"
#include "app/screens/play_frames.h"
#include "common/files.h"
#include "common/shell.h"
#include "common/temp_folder.h"
#include "game/game.h"
#include "game/replay_format.h"
#include "system/random.h"
#include "golden/golden_plays.h"

namespace {

namespace fs = std::filesystem;

const fs::path GoldenDir = BRIM_GOLDEN_DIR;

std::string Text(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TReplay Golden(const char* file)
{
    TReplay replay;
    std::string error;
    EXPECT_TRUE(LoadReplay((GoldenDir / file).string(), replay, error)) << file << ": " << error;
    return replay;
}

// The replay text with one line changed and the checksum made to match again.
std::string Edited(const std::string& text, const std::string& from, const std::string& to)
{
    std::string body = text.substr(0, text.rfind("checksum "));
    const size_t at = body.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    body.replace(at, from.size(), to);
    return body + ReplayChecksumLine(body);
}

// The real executable; empty when it is not built.
std::string Executable()
{
    const char* bin = std::getenv("BRIM_BIN_DIR");
    return bin && fs::exists(fs::path(bin) / "brimstrand") ? (fs::path(bin) / "brimstrand").string() : "";
}

struct TVerifyRun {
    int status;
    std::string out;
};

// --verify on the files, run from folder; stderr is kept apart so only the lines count.
TVerifyRun Verify(const fs::path& folder, const std::string& files, const std::string& options = "")
{
    const std::string command = "cd '" + folder.string() + "' && '" + Executable() + "' " + options + " --verify " + files;
    return {ShellStatus(command + " >/dev/null 2>&1"), Shell(command + " 2>/dev/null")};
}

} // namespace

// Any change to the rules, the generator or the order of random draws changes these plays.
TEST(GoldenPlays, RunAgainExactlyAsRecorded)
{
    PrepareHeadlessPlay();
    std::string lines;
    for (const TGoldenPlay& golden : GoldenPlays) {
        const TReplay replay = Golden(golden.file);
        const TRerunOutcome outcome = RerunReplay(replay);
        EXPECT_FALSE(outcome.differs) << golden.file << " differs from frame " << outcome.firstDifference;
        EXPECT_EQ(outcome.frames, replay.frames) << golden.file;
        EXPECT_EQ(outcome.score, replay.score) << golden.file;
        lines += std::string(golden.file) + ": score " + std::to_string(replay.score) + ", frames " +
                 std::to_string(replay.frames) + ChallengeSummary(replay) + ": ok\n";
    }
    EXPECT_EQ(lines, Text(GoldenDir / GoldenResultsFile)) << "the recorded results";
}

TEST(GoldenPlays, TheExecutableVerifiesThemWithoutAWindow)
{
    if (Executable().empty())
        GTEST_SKIP() << "the game is not built";
    std::string files;
    for (const TGoldenPlay& golden : GoldenPlays)
        files += std::string(golden.file) + " ";
    // No display: verification needs none.
    const TVerifyRun run = Verify(GoldenDir, files, "--data-dir /nonexistent");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, Text(GoldenDir / GoldenResultsFile));
}

// Frames shown between two play frames (the pause screen) are recorded as pause frames, and they
// count: they turn the background and roll for fireworks, so a rerun without them deals other
// pieces.
TEST(PlayRecording, PauseFramesAreRecordedAndDrawRandomNumbers)
{
    PrepareHeadlessPlay();
    SeedRandom(4711);
    auto play = NewPlay();
    TPlayRecording recording(*play);
    play->NewPiece();
    TControls fast;
    fast.keyfast = 1;
    for (int frame = 0; frame < 2000 && !play->lost; ++frame) {
        if (frame == 40)
            for (int i = 0; i < 30; ++i) {
                PauseFrame();
                EndFrame();
            }
        PlayFrame(*play, fast);
        EndFrame();
        recording.AddPlayFrame(fast, *play);
    }
    ASSERT_TRUE(play->lost);
    const TReplay replay = recording.Finished("ABC", GoldenDate);
    ASSERT_EQ(replay.inputs.size(), 3u);
    EXPECT_EQ(replay.inputs[0], (TInputRun{InputFast, 40}));
    EXPECT_EQ(replay.inputs[1], (TInputRun{InputPaused, 30}));
    EXPECT_FALSE(RerunReplay(replay).differs);

    TReplay unpaused = replay;
    unpaused.inputs = {{InputFast, replay.frames}};
    const TRerunOutcome outcome = RerunReplay(unpaused);
    EXPECT_TRUE(outcome.differs);
}

class ReplayVerifyTest : public TempFolderTest {
protected:
    void SetUp() override
    {
        TempFolderTest::SetUp();
        if (Executable().empty())
            GTEST_SKIP() << "the game is not built";
        golden_ = Text(GoldenDir / GoldenPlays[0].file);
    }
    void Write(const std::string& file, const std::string& text) { std::ofstream(file, std::ios::binary) << text; }
    std::string golden_;
};

TEST_F(ReplayVerifyTest, AnotherDrawOrderIsNamedWithItsFirstDifferingFrame)
{
    const TReplay replay = Golden(GoldenPlays[0].file);
    // Another generator state: the first piece already differs, which the board shows at the
    // first check at the latest.
    Write("seed.replay", Edited(golden_, "seed " + std::to_string(replay.start.seed),
                                "seed " + std::to_string(replay.start.seed + 1)));
    Write("ok.replay", golden_);
    const TVerifyRun run = Verify(fs::current_path(), "ok.replay seed.replay");
    EXPECT_EQ(run.status, 1);
    const std::string prefix = "seed.replay: score " + std::to_string(replay.score) + ", frames " +
                               std::to_string(replay.frames) + ": differs from frame ";
    const size_t at = run.out.find(prefix);
    ASSERT_NE(at, std::string::npos) << run.out;
    EXPECT_EQ(run.out.rfind("ok.replay: score ", 0), 0u) << run.out;
    const auto frame = std::stoul(run.out.substr(at + prefix.size()));
    ASSERT_FALSE(replay.checks.empty());
    EXPECT_LE(frame, replay.checks.front().frame);
}

TEST_F(ReplayVerifyTest, BadFilesGetOneLineEachAndExitTwo)
{
    Write("ok.replay", golden_);
    Write("cut.replay", golden_.substr(0, golden_.size() / 2));
    Write("noise.replay", std::string("\x7f" "ELF\x02\x01\x01\0\0\0", 10));
    Write("edited.replay", Edited(golden_, "frames ", "frames 9"));
    const std::string files = "ok.replay cut.replay noise.replay edited.replay missing.replay";
    const TVerifyRun run = Verify(fs::current_path(), files);
    EXPECT_EQ(run.status, 2);
    std::istringstream lines(run.out);
    std::vector<std::string> got;
    for (std::string line; std::getline(lines, line);)
        got.push_back(line);
    ASSERT_EQ(got.size(), 5u) << run.out;
    EXPECT_EQ(got[0].rfind("ok.replay: score ", 0), 0u);
    EXPECT_NE(got[0].find(": ok"), std::string::npos);
    EXPECT_EQ(got[1], "cut.replay: unreadable: the file is incomplete: it does not end with its checksum line");
    EXPECT_EQ(got[2], "noise.replay: unreadable: this is not a Brimstrand replay");
    EXPECT_EQ(got[3].rfind("edited.replay: unreadable: line ", 0), 0u) << got[3];
    EXPECT_EQ(got[4], "missing.replay: unreadable: no such file");
}

// A termination signal part-way through a long run: what was checked is printed, the run says it
// was interrupted, and the exit code is no "all match".
TEST_F(ReplayVerifyTest, AnInterruptedRunKeepsItsLinesAndExitsThree)
{
    const std::string shortPlay = Text(GoldenDir / "short.replay");
    std::string files;
    constexpr int Copies = 400;
    for (int i = 0; i < Copies; ++i) {
        Write("copy" + std::to_string(i) + ".replay", shortPlay);
        files += " copy" + std::to_string(i) + ".replay";
    }
    // The signal goes once the first line is out; the wait is for that line, not for a time.
    const std::string command = "'" + Executable() + "' --verify" + files + " >out.txt 2>err.txt & pid=$!; " +
                                "for i in $(seq 1200); do [ -s out.txt ] && break; sleep 0.1; done; " +
                                "kill -TERM $pid; wait $pid; echo $?";
    const int status = std::stoi(Shell(command));
    EXPECT_EQ(status, 3);
    EXPECT_NE(FileText("err.txt").find("--verify interrupted: "), std::string::npos) << FileText("err.txt");
    std::istringstream lines(FileText("out.txt"));
    int checked = 0;
    for (std::string line; std::getline(lines, line); ++checked)
        EXPECT_NE(line.find(": ok"), std::string::npos) << line;
    EXPECT_GE(checked, 1);
    EXPECT_LT(checked, Copies) << "the signal came before the end";
    EXPECT_NE(FileText("err.txt").find(std::to_string(checked) + " of 400 files checked"), std::string::npos)
        << FileText("err.txt");
}

// What stands at a path that is no replay file is named as what it is, not as missing.
TEST_F(ReplayVerifyTest, AFolderAPipeOrALinkLoopIsNamedForWhatItIs)
{
    fs::create_directory("folder.replay");
    ASSERT_EQ(ShellStatus("mkfifo pipe.replay"), 0);
    fs::create_symlink("loop2.replay", "loop1.replay");
    fs::create_symlink("loop1.replay", "loop2.replay");
    const TVerifyRun run = Verify(fs::current_path(), "folder.replay pipe.replay loop1.replay");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "folder.replay: unreadable: a folder, not a file\n"
                       "pipe.replay: unreadable: not a regular file (a device, pipe or socket)\n"
                       "loop1.replay: unreadable: a loop of symbolic links\n");
}

TEST_F(ReplayVerifyTest, AReplayThatCannotBeShownEndsTheProgramBeforeAWindow)
{
    Write("cut.replay", golden_.substr(0, 100));
    const std::string command = "'" + Executable() + "' --replay cut.replay";
    EXPECT_EQ(ShellStatus(command + " >/dev/null 2>&1"), 2);
    EXPECT_EQ(Shell(command + " 2>&1"),
              "brimstrand: cut.replay: the file is incomplete: it does not end with its checksum line\n");
}
