// The game as users get it: installed into a prefix (read-only, then moved), its command line,
// its desktop files under their validators, and the packages cpack makes.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <sys/stat.h>

#include "app/settings/command_line.h"
#include "asset_files.h"
#include "game_run.h"

using namespace game_run;

namespace {

// The build folder: the game's files are built into its bin/.
fs::path BuildDir() { return fs::path(BinDir()).parent_path(); }

// Runs a shell command; its exit code, or -1 when it did not exit.
std::string Quoted(const fs::path& path)
{
    std::string quoted = "'";
    quoted += path.string();
    return quoted += "'";
}

// Every entry below root with its size and modification time: equal snapshots mean nothing was
// written there.
std::map<std::string, std::pair<uintmax_t, int64_t>> Snapshot(const fs::path& root)
{
    std::map<std::string, std::pair<uintmax_t, int64_t>> entries;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        struct stat st {};
        lstat(entry.path().c_str(), &st);
        entries[fs::relative(entry.path(), root).string()] = {
            static_cast<uintmax_t>(st.st_size), static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
    }
    return entries;
}

void MakeReadOnly(const fs::path& root, bool readOnly)
{
    ShellStatus("chmod -R " + std::string(readOnly ? "a-w " : "u+w ") + Quoted(root));
}

// PNG width and height from the header chunk.
std::pair<int, int> PngSize(const fs::path& path)
{
    const std::vector<uint8_t> bytes = FileBytes(path);
    if (bytes.size() < 24)
        return {0, 0};
    const auto word = [&](size_t at) { return bytes[at] << 24 | bytes[at + 1] << 16 | bytes[at + 2] << 8 | bytes[at + 3]; };
    return {word(16), word(20)};
}

class TempTree {
public:
    TempTree()
    {
        std::string pattern = (fs::temp_directory_path() / "brim_install_XXXXXX").string();
        if (mkdtemp(pattern.data()))
            root_ = pattern;
    }
    ~TempTree()
    {
        if (root_.empty())
            return;
        MakeReadOnly(root_, false);
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;
    const fs::path& Root() const { return root_; }

private:
    fs::path root_;
};

// One finished run of a program: exit code (-1 when it did not end in time) and its output.
struct Outcome {
    int code = -1;
    std::string out, err;
};

Outcome RunToEnd(const GameLaunch& launch)
{
    GameRun run(launch);
    const auto status = run.WaitExit(30s);
    Outcome outcome{-1, run.Out(), run.Err()};
    if (status && WIFEXITED(*status))
        outcome.code = WEXITSTATUS(*status);
    return outcome;
}

// A prefix with the game installed into it, a home folder and a folder for the runs' output.
class InstalledGame : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(tree_.Root().empty());
        prefix_ = tree_.Root() / "prefix";
        home_ = tree_.Root() / "home";
        output_ = tree_.Root() / "output";
        fs::create_directories(home_);
        fs::create_directories(output_);
        ASSERT_EQ(ShellStatus("cmake --install " + Quoted(BuildDir()) + " --prefix " + Quoted(prefix_) + " >/dev/null"), 0);
    }

    // A run of the installed executable with the temporary home and no other data folder given.
    GameLaunch Launch(std::vector<std::string> arguments = {}) const
    {
        return GameLaunch{prefix_ / "bin" / "brimstrand",
                          output_,
                          std::move(arguments),
                          {{"HOME", home_.string()}, {"XDG_DATA_HOME", std::nullopt}, {"BRIMSTRAND_DATA_DIR", std::nullopt}}};
    }

    fs::path DataFolder() const { return home_ / ".local" / "share" / "brimstrand"; }

    // A whole run under X: first run greets and writes the preferences, then the table is opened
    // from the title menu and the window closed.
    void PlayFirstRun(const GameLaunch& launch)
    {
        GameRun game(launch);
        ASSERT_TRUE(game.FindWindow()) << game.Err();
        const fs::path prefs = DataFolder() / "preferences.dat";
        const fs::path table = DataFolder() / "highscores.dat";
        ASSERT_TRUE(WaitFor([&] { return FileBytes(prefs) == std::vector<uint8_t>{1, 1, 0}; }, 10s)) << game.Err();
        EXPECT_EQ(game.Out(), "Yo. 0\n");
        std::this_thread::sleep_for(1s);
        game.Press("space"); // ends the intro; the menu fades in
        std::this_thread::sleep_for(3500ms);
        game.Click(256, 306); // the high-score table
        EXPECT_TRUE(WaitFor([&] { return FileBytes(table) == DefaultTable(); }, 5s)) << FileBytes(table).size();
        CloseAndExpectCleanExit(game);
    }

    static void CloseAndExpectCleanExit(GameRun& game)
    {
        XDisplay x;
        ASSERT_TRUE(x.Open());
        x.ClickCloseBox(game.Window());
        const auto status = game.WaitExit(15s);
        ASSERT_TRUE(status && WIFEXITED(*status)) << "the game did not end by itself";
        EXPECT_EQ(WEXITSTATUS(*status), 0) << game.Err();
        EXPECT_EQ(game.Err(), "") << "no asset is missing, nothing went wrong";
    }

    static bool CanDriveX()
    {
        return std::getenv("DISPLAY") && HaveCommand("xdotool");
    }

    TempTree tree_;
    fs::path prefix_, home_, output_;
};

} // namespace

TEST_F(InstalledGame, TreeHoldsTheGameItsFilesAndTheDesktopEntries)
{
    EXPECT_EQ(access((prefix_ / "bin" / "brimstrand").c_str(), X_OK), 0);
    for (const char* asset : {"gfx/logo.png", "gfx/back10.png", "sfx/plop.ogg", "sfx/title (space fighter loop).ogg"})
        EXPECT_TRUE(fs::is_regular_file(prefix_ / "share/brimstrand" / asset)) << asset;
    EXPECT_FALSE(fs::exists(prefix_ / "share/brimstrand/contact_sheet.png")) << "the review sheet is not installed";
    EXPECT_FALSE(fs::exists(prefix_ / "bin/data")) << "no data of the build is installed";
    for (int size : {16, 32, 48, 64, 128, 256, 512}) {
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        const fs::path icon = prefix_ / "share/icons/hicolor" / name / "apps/brimstrand.png";
        EXPECT_EQ(PngSize(icon), std::make_pair(size, size)) << icon;
    }

    // The version is set once: the program, the AppStream release and the manual page agree.
    const Outcome version = RunToEnd(Launch({"--version"}));
    EXPECT_EQ(version.code, 0);
    std::smatch match;
    ASSERT_TRUE(std::regex_match(version.out, match, std::regex("brimstrand (\\d+\\.\\d+\\.\\d+)\n"))) << version.out;
    const std::string number = match[1];
    const std::string metainfo = FileText(prefix_ / "share/metainfo/brimstrand.metainfo.xml");
    EXPECT_NE(metainfo.find("<release version=\"" + number + "\""), std::string::npos);
    EXPECT_NE(metainfo.find("<caption>"), std::string::npos) << "the screenshot has a caption";
    const std::string manual = FileText(prefix_ / "share/man/man6/brimstrand.6");
    EXPECT_NE(manual.find("\"brimstrand " + number + "\""), std::string::npos);
    // Every option the program takes is in the manual, as roff writes it.
    for (const TOption& option : CommandLineOptions())
        EXPECT_NE(manual.find(std::regex_replace(std::string(option.name), std::regex("-"), "\\-")), std::string::npos)
            << option.name;
    for (const char* section : {".SH CONTROLS", ".SH FILES", ".SH ENVIRONMENT", "preferences.dat", "highscores.dat"})
        EXPECT_NE(manual.find(section), std::string::npos) << section;
}

TEST_F(InstalledGame, DesktopEntryAndAppStreamFilePassTheirValidators)
{
    if (!HaveCommand("desktop-file-validate") || !HaveCommand("appstreamcli"))
        GTEST_SKIP() << "needs desktop-file-validate and appstreamcli (scripts/deps.sh installs them)";
    const fs::path desktop = prefix_ / "share/applications/brimstrand.desktop";
    EXPECT_EQ(ShellStatus("desktop-file-validate " + Quoted(desktop)), 0);
    EXPECT_NE(FileText(desktop).find("Categories=Game;BlocksGame;"), std::string::npos);
    EXPECT_EQ(ShellStatus("appstreamcli validate --no-net " + Quoted(prefix_ / "share/metainfo/brimstrand.metainfo.xml") +
                  " >/dev/null"),
              0);
}

TEST_F(InstalledGame, HelpVersionAndUnknownOptionsAnswerWithoutStarting)
{
    const Outcome help = RunToEnd(Launch({"--help"}));
    EXPECT_EQ(help.code, 0);
    EXPECT_EQ(help.err, "");
    for (const TOption& option : CommandLineOptions())
        EXPECT_NE(help.out.find(std::string(option.name)), std::string::npos) << option.name;
    EXPECT_NE(help.out.find("Q / E"), std::string::npos) << "the controls are listed";
    EXPECT_NE(help.out.find("Left / Right"), std::string::npos) << "the arrows too";
    EXPECT_NE(help.out.find("Gamepad:"), std::string::npos) << "and the gamepad";
    EXPECT_NE(help.out.find((DataFolder() / "controls.cfg").string()), std::string::npos) << help.out;
    EXPECT_NE(help.out.find((prefix_ / "share/brimstrand").string()), std::string::npos) << help.out;
    EXPECT_NE(help.out.find(DataFolder().string()), std::string::npos) << help.out;
    EXPECT_FALSE(fs::exists(home_ / ".local")) << "answering writes nothing";

    for (const std::vector<std::string>& wrong : {std::vector<std::string>{"--bogus"}, {"--data-dir"}, {"level3"}}) {
        const Outcome outcome = RunToEnd(Launch(wrong));
        EXPECT_EQ(outcome.code, 2) << wrong[0];
        EXPECT_EQ(outcome.out, "") << wrong[0];
        EXPECT_EQ(outcome.err.rfind("brimstrand: ", 0), 0u) << outcome.err;
        EXPECT_NE(outcome.err.find("Usage: brimstrand"), std::string::npos) << outcome.err;
    }
}

TEST_F(InstalledGame, WithoutAnyAssetFolderOneMessageNamesTheFoldersTried)
{
    const fs::path lone = tree_.Root() / "lone" / "bin";
    fs::create_directories(lone);
    fs::copy_file(prefix_ / "bin/brimstrand", lone / "brimstrand");
    GameLaunch launch = Launch();
    launch.program = lone / "brimstrand";
    const Outcome outcome = RunToEnd(launch);
    EXPECT_EQ(outcome.code, 1);
    EXPECT_NE(outcome.err.find("cannot find its pictures and sounds"), std::string::npos) << outcome.err;
    EXPECT_NE(outcome.err.find("\n  " + lone.string() + "\n"), std::string::npos) << outcome.err;
    EXPECT_NE(outcome.err.find("\n  " + (tree_.Root() / "lone/share/brimstrand").string()), std::string::npos)
        << outcome.err;
    EXPECT_FALSE(fs::exists(home_ / ".local"));
}

TEST_F(InstalledGame, ReadOnlyInstallSavesInTheHomeDataFolderAndKeepsWorkingWhenMoved)
{
    if (!CanDriveX())
        GTEST_SKIP() << "needs an X display and xdotool (the test command runs under xvfb-run)";
    MakeReadOnly(prefix_, true);
    const auto before = Snapshot(prefix_);
    PlayFirstRun(Launch());
    EXPECT_EQ(Snapshot(prefix_), before) << "nothing is written inside the installed tree";

    // Moved elsewhere, the tree still finds its pictures, and the saved settings are read back.
    MakeReadOnly(prefix_, false);
    const fs::path moved = tree_.Root() / "elsewhere" / "prefix";
    fs::create_directories(moved.parent_path());
    fs::rename(prefix_, moved);
    MakeReadOnly(moved, true);
    GameLaunch launch = Launch();
    launch.program = moved / "bin" / "brimstrand";
    GameRun game(launch);
    ASSERT_TRUE(game.FindWindow()) << game.Err();
    std::this_thread::sleep_for(1s);
    CloseAndExpectCleanExit(game);
    EXPECT_EQ(game.Out(), "") << "the preferences were found: no greeting";
    EXPECT_EQ(FileBytes(DataFolder() / "preferences.dat"), (std::vector<uint8_t>{1, 1, 0}));
    EXPECT_EQ(FileBytes(DataFolder() / "highscores.dat"), DefaultTable());
}

TEST_F(InstalledGame, DataFolderOverridesAndAHomelessRun)
{
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "needs an X display (the test command runs under xvfb-run)";
    // Traced start-up ends the game after its first title frame, by then the preferences exist.
    const fs::path chosen = tree_.Root() / "chosen";
    const fs::path option = tree_.Root() / "by option";
    GameLaunch launch = Launch();
    launch.environment.push_back({"BRIM_TRACE_STARTUP", "1"});
    launch.environment.push_back({"BRIMSTRAND_DATA_DIR", chosen.string()});
    EXPECT_EQ(RunToEnd(launch).code, 0);
    EXPECT_EQ(FileBytes(chosen / "preferences.dat"), (std::vector<uint8_t>{1, 1, 0}));

    launch.arguments = {"--data-dir", option.string()};
    EXPECT_EQ(RunToEnd(launch).code, 0);
    EXPECT_EQ(FileBytes(option / "preferences.dat"), (std::vector<uint8_t>{1, 1, 0})) << "the option wins";
    EXPECT_FALSE(fs::exists(home_ / ".local"));

    // No HOME and no XDG_DATA_HOME: the game still plays and says once that nothing is kept.
    launch.arguments.clear();
    launch.environment = {{"BRIM_TRACE_STARTUP", "1"}, {"HOME", std::nullopt}, {"XDG_DATA_HOME", std::nullopt},
                          {"BRIMSTRAND_DATA_DIR", std::nullopt}};
    MakeReadOnly(prefix_, true);
    const auto before = Snapshot(prefix_);
    const Outcome homeless = RunToEnd(launch);
    EXPECT_EQ(homeless.code, 0) << homeless.err;
    const std::regex notice("will not be saved");
    const auto notices = std::distance(std::sregex_iterator(homeless.err.begin(), homeless.err.end(), notice),
                                       std::sregex_iterator());
    EXPECT_EQ(notices, 1) << homeless.err;
    EXPECT_EQ(Snapshot(prefix_), before);
}

TEST_F(InstalledGame, PackagesCarryTheInstallAndTheirDependencies)
{
    if (!HaveCommand("dpkg-deb") || !HaveCommand("dpkg-shlibdeps"))
        GTEST_SKIP() << "needs dpkg-dev (scripts/deps.sh installs it)";
    const fs::path out = tree_.Root() / "packages";
    ASSERT_EQ(ShellStatus("cd " + Quoted(BuildDir()) + " && cpack -G 'DEB;TGZ' -B " + Quoted(out) + " >/dev/null"), 0);
    const std::string version = RunToEnd(Launch({"--version"})).out.substr(std::string("brimstrand ").size());
    const std::string number = version.substr(0, version.size() - 1);
    const fs::path deb = out / ("brimstrand_" + number + "_amd64.deb");
    ASSERT_TRUE(fs::exists(deb)) << deb;

    const std::string control = Shell("dpkg-deb -f " + Quoted(deb));
    for (const std::string& field : std::vector<std::string>{"Package: brimstrand\n", "Version: " + number + "\n",
                                                             "Architecture: amd64\n", "Section: games\n", "Maintainer: "})
        EXPECT_NE(control.find(field), std::string::npos) << field << " in\n" << control;
    std::smatch depends;
    ASSERT_TRUE(std::regex_search(control, depends, std::regex("Depends: ([^\n]*)\n"))) << control;
    // OpenAL is opened at run time, so only the package list names it; the rest come from the
    // libraries the executable links.
    for (const char* package : {"libopenal1", "libc6", "libsdl2-2.0-0", "libpng16-16", "libvorbisfile3"})
        EXPECT_NE(depends[1].str().find(package), std::string::npos) << package << " in " << depends[1];

    const std::string files = Shell("dpkg-deb -c " + Quoted(deb));
    for (const char* file : {"./usr/bin/brimstrand", "./usr/share/brimstrand/gfx/logo.png",
                             "./usr/share/brimstrand/sfx/plop.ogg", "./usr/share/applications/brimstrand.desktop",
                             "./usr/share/icons/hicolor/512x512/apps/brimstrand.png",
                             "./usr/share/metainfo/brimstrand.metainfo.xml", "./usr/share/man/man6/brimstrand.6"})
        EXPECT_NE(files.find(std::string(file) + "\n"), std::string::npos) << file;
    EXPECT_EQ(files.find("contact_sheet"), std::string::npos);
    EXPECT_EQ(files.find("/data/"), std::string::npos);

    // The tarball runs from wherever it is unpacked.
    const fs::path unpacked = tree_.Root() / "unpacked";
    fs::create_directories(unpacked);
    ASSERT_EQ(ShellStatus("tar xzf " + Quoted(out / ("brimstrand-" + number + "-Linux.tar.gz")) + " -C " + Quoted(unpacked)), 0);
    GameLaunch launch = Launch({"--help"});
    launch.program = unpacked / ("brimstrand-" + number + "-Linux") / "bin" / "brimstrand";
    const Outcome help = RunToEnd(launch);
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find((launch.program.parent_path().parent_path() / "share/brimstrand").string()),
              std::string::npos)
        << help.out;
}
