// The game as users get it: installed into a prefix (read-only, then moved) and uninstalled, its
// command line, its settings folder, its desktop files under their validators, the packages
// cpack makes under lintian, and the source release.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <sys/stat.h>

#include "app/shell/build_info.h"
#include "app/settings/command_line.h"
#include "asset_files.h"
#include "game_run.h"

using namespace game_run;

namespace {

// The build folder: the game's files are built into its bin/.
fs::path BuildDir() { return fs::path(BinDir()).parent_path(); }

// Where the build installs the executable below the prefix: games/ for /usr, else bin/.
const fs::path GameDir = BRIM_INSTALL_GAMEDIR;
// The prefix the build was configured for, which the Debian package installs under.
const fs::path ConfiguredPrefix = BRIM_INSTALL_PREFIX;
const std::string AppIdText = AppId();

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
    const auto status = run.WaitExit(Patience);
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
        return GameLaunch{prefix_ / GameDir / "brimstrand",
                          output_,
                          std::move(arguments),
                          {{"HOME", home_.string()},
                           {"XDG_DATA_HOME", std::nullopt},
                           {"XDG_CONFIG_HOME", std::nullopt},
                           {"BRIMSTRAND_DATA_DIR", std::nullopt}}};
    }

    fs::path DataFolder() const { return home_ / ".local" / "share" / "brimstrand"; }
    fs::path ConfigFolder() const { return home_ / ".config" / "brimstrand"; }

    // A whole run under X: first run greets and writes the preferences, then the table is opened
    // from the title menu and the window closed.
    void PlayFirstRun(const GameLaunch& launch)
    {
        GameRun game(launch);
        ASSERT_TRUE(game.FindWindow()) << game.Err();
        const fs::path prefs = DataFolder() / "preferences.dat";
        const fs::path table = DataFolder() / "highscores.dat";
        ASSERT_TRUE(WaitFor([&] { return FileBytes(prefs) == std::vector<uint8_t>{1, 1, 0}; }, Patience)) << game.Err();
        EXPECT_EQ(game.Out(), "Yo. 0\n");
        ASSERT_TRUE(game.EndIntro()) << game.Err(); // the menu fades in
        ASSERT_TRUE(game.WaitFrames(MenuFadeFrames)) << game.Err();
        game.Click(256, 306); // the high-score table
        EXPECT_TRUE(WaitFor([&] { return FileBytes(table) == DefaultTable(); }, Patience)) << FileBytes(table).size();
        CloseAndExpectCleanExit(game);
    }

    static void CloseAndExpectCleanExit(GameRun& game)
    {
        XDisplay x;
        ASSERT_TRUE(x.Open());
        x.ClickCloseBox(game.Window());
        const auto status = game.WaitExit(Patience);
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
    EXPECT_EQ(access((prefix_ / GameDir / "brimstrand").c_str(), X_OK), 0);
    for (const char* asset : {"gfx/logo.png", "gfx/back10.png", "sfx/plop.ogg", "sfx/title (space fighter loop).ogg"})
        EXPECT_TRUE(fs::is_regular_file(prefix_ / "share/brimstrand" / asset)) << asset;
    EXPECT_FALSE(fs::exists(prefix_ / "share/brimstrand/contact_sheet.png")) << "the review sheet is not installed";
    EXPECT_FALSE(fs::exists(prefix_ / "bin/data")) << "no data of the build is installed";
    for (int size : {16, 32, 48, 64, 128, 256, 512}) {
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        const fs::path icon = prefix_ / "share/icons/hicolor" / name / "apps" / (AppIdText + ".png");
        EXPECT_EQ(PngSize(icon), std::make_pair(size, size)) << icon;
    }

    // The version is set once: the program, the AppStream release and the manual page agree.
    const Outcome version = RunToEnd(Launch({"--version"}));
    EXPECT_EQ(version.code, 0);
    std::smatch match;
    ASSERT_TRUE(std::regex_match(version.out, match, std::regex("brimstrand (\\d+\\.\\d+\\.\\d+)\n"))) << version.out;
    const std::string number = match[1];
    const std::string metainfo = FileText(prefix_ / "share/metainfo" / (AppIdText + ".metainfo.xml"));
    EXPECT_NE(metainfo.find("<release version=\"" + number + "\""), std::string::npos);
    EXPECT_NE(metainfo.find("<id>" + AppIdText + "</id>"), std::string::npos);
    EXPECT_NE(metainfo.find("<project_license>MIT</project_license>"), std::string::npos);
    const std::string manual = Shell("gzip -dc " + Quoted(prefix_ / "share/man/man6/brimstrand.6.gz"));
    EXPECT_NE(manual.find("\"brimstrand " + number + "\""), std::string::npos);
    // Every option the program takes is in the manual, as roff writes it.
    for (const TOption& option : CommandLineOptions())
        EXPECT_NE(manual.find(std::regex_replace(std::string(option.name), std::regex("-"), "\\-")), std::string::npos)
            << option.name;
    for (const char* section : {".SH CONTROLS", ".SH FILES", ".SH ENVIRONMENT", "preferences.dat", "highscores.dat",
                                "XDG_CONFIG_HOME"})
        EXPECT_NE(manual.find(section), std::string::npos) << section;

    // The licence and the changelog, where Debian looks for them.
    EXPECT_NE(FileText(prefix_ / "share/doc/brimstrand/copyright").find("License: Expat"), std::string::npos);
    const std::string changelog = Shell("gzip -dc " + Quoted(prefix_ / "share/doc/brimstrand/changelog.gz"));
    EXPECT_EQ(changelog.rfind("brimstrand (" + number + ")", 0), 0u) << changelog;
    // The game took the screenshot it ships, at twice its window's size.
    EXPECT_EQ(PngSize(prefix_ / "share/brimstrand/screenshot.png"), std::make_pair(1024, 1024));
}

TEST_F(InstalledGame, DesktopEntryAndAppStreamFilePassTheirValidators)
{
    if (!HaveCommand("desktop-file-validate") || !HaveCommand("appstreamcli"))
        GTEST_SKIP() << "needs desktop-file-validate and appstreamcli (scripts/deps.sh installs them)";
    const fs::path desktop = prefix_ / "share/applications" / (AppIdText + ".desktop");
    EXPECT_EQ(ShellStatus("desktop-file-validate " + Quoted(desktop)), 0);
    const std::string entry = FileText(desktop);
    EXPECT_NE(entry.find("Categories=Game;BlocksGame;"), std::string::npos);
    EXPECT_NE(entry.find("Icon=" + AppIdText + "\n"), std::string::npos);
    EXPECT_NE(entry.find("StartupWMClass=" + AppIdText + "\n"), std::string::npos);
    const fs::path metainfo = prefix_ / "share/metainfo" / (AppIdText + ".metainfo.xml");
    // Not a line of warning or pedantic note: the validators print nothing but their verdict.
    const auto Validate = [](const std::string& command) {
        return Shell(command + " 2>&1; echo \"exit $?\"");
    };
    const std::string passed = "\u2714 Validation was successful.\nexit 0\n";
    EXPECT_EQ(Validate("appstreamcli validate --pedantic --no-net " + Quoted(metainfo)), passed);
    EXPECT_EQ(Validate("appstreamcli validate-tree --pedantic --no-net " + Quoted(prefix_)), passed);

    // Without identity URLs none is written: no stand-in address ships.
    const std::string shipped = FileText(metainfo);
    EXPECT_EQ(shipped.find("<url"), std::string::npos) << shipped;
    EXPECT_EQ(shipped.find("example"), std::string::npos) << shipped;
    const std::size_t summary = shipped.find("<summary>");
    ASSERT_NE(summary, std::string::npos);
    EXPECT_LE(shipped.find("</summary>") - summary - std::string("<summary>").size(), 35u);
    for (const char* part : {"<developer_name>", "<content_attribute id=\"violence-cartoon\">none",
                             "<control>keyboard</control>", "<control>pointing</control>", "<control>gamepad</control>",
                             "<display_length", "<branding>", "<keywords>", "<release version=", "<description>"})
        EXPECT_NE(shipped.find(part), std::string::npos) << part;

    // With them, each is written once and the screenshot gets its size; the result validates too.
    const fs::path withUrls = tree_.Root() / (AppIdText + ".metainfo.xml");
    ASSERT_EQ(ShellStatus("cmake -DTEMPLATE=" + Quoted(fs::path(BRIM_SOURCE_DIR) / "dist/brimstrand.metainfo.xml.in") +
                          " -DOUTPUT=" + Quoted(withUrls) + " -DAPP_ID=" + AppIdText +
                          " -DVERSION=1.0.0 -DRELEASE_DATE=2026-12-08 -DHOMEPAGE=https://brimstrand.test/"
                          " -DBUGTRACKER=https://brimstrand.test/issues -DSOURCE_URL=https://brimstrand.test/source"
                          " -DSCREENSHOT_URL=https://brimstrand.test/play.png -DSCREENSHOT_WIDTH=1024"
                          " -DSCREENSHOT_HEIGHT=1024 -P " +
                          Quoted(fs::path(BRIM_SOURCE_DIR) / "cmake/metainfo.cmake")),
              0);
    const std::string full = FileText(withUrls);
    for (const char* part : {"<url type=\"homepage\">https://brimstrand.test/</url>",
                             "<url type=\"bugtracker\">https://brimstrand.test/issues</url>",
                             "<url type=\"vcs-browser\">https://brimstrand.test/source</url>",
                             "width=\"1024\" height=\"1024\">https://brimstrand.test/play.png</image>", "<caption>"})
        EXPECT_NE(full.find(part), std::string::npos) << part;
    EXPECT_EQ(Validate("appstreamcli validate --pedantic --no-net " + Quoted(withUrls)), passed);
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
    EXPECT_NE(help.out.find((ConfigFolder() / "controls.cfg").string()), std::string::npos) << help.out;
    for (const char* file : {"display.cfg", "settings.cfg"})
        EXPECT_NE(help.out.find("    " + (ConfigFolder() / file).string() + "\n"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find((prefix_ / "share/brimstrand").string()), std::string::npos) << help.out;
    EXPECT_NE(help.out.find(DataFolder().string()), std::string::npos) << help.out;
    EXPECT_FALSE(fs::exists(home_ / ".local")) << "answering writes nothing";
    EXPECT_FALSE(fs::exists(home_ / ".config")) << "answering writes nothing";

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
    fs::copy_file(prefix_ / GameDir / "brimstrand", lone / "brimstrand");
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
    launch.program = moved / GameDir / "brimstrand";
    GameRun game(launch);
    ASSERT_TRUE(game.FindWindow()) << game.Err();
    // The desktop finds the window's desktop file by its class.
    const std::string classed = Shell("xdotool search --class '^" +
                                      std::regex_replace(AppIdText, std::regex("\\."), "\\.") + "$'");
    EXPECT_NE(("\n" + classed).find("\n" + std::to_string(game.Window()) + "\n"), std::string::npos) << classed;
    ASSERT_TRUE(game.WaitForFirstScreen()) << game.Err();
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

// The lines of a tool's report that start with one of the given tags ("E: ", "W: " ...).
std::vector<std::string> LinesTagged(const std::string& report, const std::vector<std::string>& tags)
{
    std::vector<std::string> lines;
    std::istringstream in(report);
    for (std::string line; std::getline(in, line);)
        for (const std::string& tag : tags)
            if (line.rfind(tag, 0) == 0)
                lines.push_back(line);
    return lines;
}

TEST_F(InstalledGame, UninstallRemovesWhatTheInstallWrote)
{
    ASSERT_TRUE(fs::exists(prefix_ / GameDir / "brimstrand"));
    ASSERT_EQ(ShellStatus("cmake --build " + Quoted(BuildDir()) + " --target uninstall >/dev/null"), 0);
    std::vector<std::string> left;
    for (const auto& entry : fs::recursive_directory_iterator(prefix_))
        if (!entry.is_directory())
            left.push_back(entry.path().string());
    EXPECT_TRUE(left.empty()) << left.front();
    EXPECT_FALSE(fs::exists(prefix_ / "share/brimstrand")) << "the game's own folders go too";
    EXPECT_FALSE(fs::exists(prefix_ / "share/doc/brimstrand"));
    EXPECT_FALSE(fs::exists(prefix_ / "share/doc/brimstrand-data"));
}

TEST_F(InstalledGame, SettingsMoveFromTheDataFolderToTheConfigFolderOnce)
{
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "needs an X display (the test command runs under xvfb-run)";
    // As an older version left them: the settings files beside the high scores.
    const std::string display = "window_width = 1024\nwindow_height = 1024\nfullscreen = no\n";
    const std::string controls = "move_left = J\n";
    fs::create_directories(DataFolder());
    WriteBytes(DataFolder() / "display.cfg", {display.begin(), display.end()});
    WriteBytes(DataFolder() / "controls.cfg", {controls.begin(), controls.end()});
    WriteBytes(DataFolder() / "preferences.dat", {1, 1, 0});

    GameLaunch launch = Launch();
    launch.environment.push_back({"BRIM_TRACE_STARTUP", "1"});
    const Outcome first = RunToEnd(launch);
    EXPECT_EQ(first.code, 0) << first.err;
    for (const char* name : {"display.cfg", "controls.cfg"}) {
        EXPECT_NE(first.err.find("brimstrand: moved " + (DataFolder() / name).string() + " to " +
                                 (ConfigFolder() / name).string() + "\n"),
                  std::string::npos)
            << first.err;
        EXPECT_FALSE(fs::exists(DataFolder() / name)) << name;
    }
    EXPECT_EQ(FileText(ConfigFolder() / "controls.cfg"), controls) << "moved as it was, read from its new place";
    EXPECT_TRUE(fs::exists(DataFolder() / "preferences.dat")) << "only settings files move";

    const Outcome second = RunToEnd(launch);
    EXPECT_EQ(second.code, 0) << second.err;
    EXPECT_EQ(second.err.find("moved"), std::string::npos) << second.err;
    EXPECT_EQ(FileText(ConfigFolder() / "controls.cfg"), controls);

    // XDG_CONFIG_HOME, when set, is the config folder's base; the game writes its defaults there.
    const fs::path xdg = tree_.Root() / "xdg-config";
    launch.environment.push_back({"XDG_CONFIG_HOME", xdg.string()});
    EXPECT_EQ(RunToEnd(launch).code, 0);
    EXPECT_TRUE(fs::exists(xdg / "brimstrand/controls.cfg"));
}

TEST_F(InstalledGame, PackagesCarryTheInstallAndTheirDependencies)
{
    if (!HaveCommand("dpkg-deb") || !HaveCommand("dpkg-shlibdeps"))
        GTEST_SKIP() << "needs dpkg-dev (scripts/deps.sh installs it)";
    const fs::path out = tree_.Root() / "packages";
    // Debian's reproducible builds fix the time stamps through SOURCE_DATE_EPOCH.
    const std::string cpack = "cd " + Quoted(BuildDir()) + " && SOURCE_DATE_EPOCH=1796688000 cpack -G ";
    if (ConfiguredPrefix != "/usr") {
        // A package for a distribution installs under /usr, where the game looks for its files.
        const std::string refused = Shell(cpack + "DEB -B " + Quoted(out) + " 2>&1");
        EXPECT_NE(refused.find("-DCMAKE_INSTALL_PREFIX=/usr"), std::string::npos) << refused;
        GTEST_SKIP() << "the Debian package is checked in a build configured for /usr (scripts/test.sh's Release build)";
    }
    ASSERT_EQ(ShellStatus(cpack + "'DEB;TGZ' -B " + Quoted(out) + " >/dev/null"), 0);
    const std::string version = RunToEnd(Launch({"--version"})).out.substr(std::string("brimstrand ").size());
    const std::string number = version.substr(0, version.size() - 1);
    const fs::path deb = out / ("brimstrand_" + number + "_amd64.deb");
    const fs::path dataDeb = out / ("brimstrand-data_" + number + "_all.deb");
    ASSERT_TRUE(fs::exists(deb)) << deb;
    ASSERT_TRUE(fs::exists(dataDeb)) << dataDeb;

    const std::string control = Shell("dpkg-deb -f " + Quoted(deb));
    for (const std::string& field : std::vector<std::string>{"Package: brimstrand\n", "Version: " + number + "\n",
                                                             "Architecture: amd64\n", "Section: games\n", "Maintainer: "})
        EXPECT_NE(control.find(field), std::string::npos) << field << " in\n" << control;
    EXPECT_EQ(control.find("Homepage:"), std::string::npos) << "no stand-in home page";
    std::smatch depends;
    ASSERT_TRUE(std::regex_search(control, depends, std::regex("Depends: ([^\n]*)\n"))) << control;
    // The pictures and sounds of the same version; OpenAL and the GL, GLX and EGL libraries are
    // opened at run time, so only the package list names them; the rest come from the libraries
    // the executable links.
    for (const std::string& package : std::vector<std::string>{"brimstrand-data (= " + number + ")", "libopenal1",
                                                               "libgl1", "libglx0", "libegl1", "libc6", "libsdl2-2.0-0",
                                                               "libpng16-16", "libvorbisfile3"})
        EXPECT_NE(depends[1].str().find(package), std::string::npos) << package << " in " << depends[1];
    const std::string dataControl = Shell("dpkg-deb -f " + Quoted(dataDeb));
    for (const char* field : {"Package: brimstrand-data\n", "Architecture: all\n", "Section: games\n"})
        EXPECT_NE(dataControl.find(field), std::string::npos) << field << " in\n" << dataControl;
    EXPECT_EQ(dataControl.find("Depends:"), std::string::npos) << dataControl;

    const std::string files = Shell("dpkg-deb -c " + Quoted(deb) + " | awk '{print $6}'");
    const std::string dataFiles = Shell("dpkg-deb -c " + Quoted(dataDeb) + " | awk '{print $6}'");
    const std::string id = AppIdText;
    for (const std::string& file : std::vector<std::string>{
             "./usr/games/brimstrand", "./usr/share/applications/" + id + ".desktop",
             "./usr/share/icons/hicolor/512x512/apps/" + id + ".png", "./usr/share/metainfo/" + id + ".metainfo.xml",
             "./usr/share/man/man6/brimstrand.6.gz", "./usr/share/doc/brimstrand/copyright",
             "./usr/share/doc/brimstrand/changelog.gz"})
        EXPECT_NE(files.find(file + "\n"), std::string::npos) << file;
    for (const char* file : {"./usr/share/brimstrand/gfx/logo.png", "./usr/share/brimstrand/sfx/plop.ogg",
                             "./usr/share/brimstrand/screenshot.png", "./usr/share/doc/brimstrand-data/copyright",
                             "./usr/share/doc/brimstrand-data/changelog.gz"})
        EXPECT_NE(dataFiles.find(std::string(file) + "\n"), std::string::npos) << file;
    EXPECT_EQ(files.find("./usr/share/brimstrand/"), std::string::npos) << "the pictures and sounds are in -data";
    EXPECT_EQ(dataFiles.find("./usr/games/"), std::string::npos);
    EXPECT_EQ((files + dataFiles).find("contact_sheet"), std::string::npos);
    EXPECT_EQ((files + dataFiles).find("/data/"), std::string::npos);
    EXPECT_EQ(files.find("./usr/bin/"), std::string::npos) << "games are in /usr/games";

    // The compiled-in last resort, the manual page and the packages name the same folder: the
    // executable alone, away from the tree, says where it looked last.
    const fs::path unpackedDeb = tree_.Root() / "deb";
    ASSERT_EQ(ShellStatus("dpkg-deb -x " + Quoted(deb) + " " + Quoted(unpackedDeb) + " && dpkg-deb -x " +
                          Quoted(dataDeb) + " " + Quoted(unpackedDeb)),
              0);
    const fs::path builtIn = InstalledAssetFolder();
    EXPECT_EQ(builtIn, ConfiguredPrefix / "share/brimstrand");
    EXPECT_TRUE(fs::is_regular_file(unpackedDeb / builtIn.relative_path() / "gfx/logo.png"));
    const std::string manual = Shell("gzip -dc " + Quoted(unpackedDeb / "usr/share/man/man6/brimstrand.6.gz"));
    EXPECT_NE(manual.find(".IR " + builtIn.string() + " ."), std::string::npos) << "the manual names " << builtIn;
    const fs::path lone = tree_.Root() / "lone";
    fs::create_directories(lone);
    fs::copy_file(unpackedDeb / "usr/games/brimstrand", lone / "brimstrand");
    GameLaunch alone = Launch();
    alone.program = lone / "brimstrand";
    const Outcome looked = RunToEnd(alone);
    if (!fs::exists(builtIn)) {
        EXPECT_EQ(looked.code, 1);
        EXPECT_NE(looked.err.find("\n  " + builtIn.string()), std::string::npos) << looked.err;
    }
    // Hardened and stripped as Debian asks.
    const std::string sections = Shell("readelf -S -d -l " + Quoted(lone / "brimstrand"));
    EXPECT_EQ(sections.find(".comment"), std::string::npos);
    EXPECT_NE(sections.find("BIND_NOW"), std::string::npos);
    EXPECT_NE(sections.find("GNU_RELRO"), std::string::npos);
    const std::string symbols = Shell("nm -D " + Quoted(lone / "brimstrand"));
    EXPECT_NE(symbols.find("__stack_chk_fail"), std::string::npos) << "the stack protector is on";
    EXPECT_TRUE(std::regex_search(symbols, std::regex("__\\w+_chk@"))) << "fortified calls are used";

    // Built twice from the same build, the packages are the same to the byte.
    const fs::path again = tree_.Root() / "again";
    ASSERT_EQ(ShellStatus(cpack + "DEB -B " + Quoted(again) + " >/dev/null"), 0);
    EXPECT_EQ(FileBytes(again / deb.filename()), FileBytes(deb)) << "the game package is reproducible";
    EXPECT_EQ(FileBytes(again / dataDeb.filename()), FileBytes(dataDeb)) << "the data package is reproducible";

    if (HaveCommand("lintian")) {
        const std::string report = Shell("lintian -EviIL +pedantic " + Quoted(deb) + " " + Quoted(dataDeb) + " 2>&1");
        EXPECT_EQ(LinesTagged(report, {"E: ", "W: "}), std::vector<std::string>{}) << report;
        // Not a note either: hardened, stripped, documented, its data apart.
        EXPECT_EQ(LinesTagged(report, {"I: ", "P: ", "X: "}), std::vector<std::string>{}) << report;
    } else {
        ADD_FAILURE() << "lintian is missing (scripts/deps.sh installs it)";
    }

    // The tarball runs from wherever it is unpacked.
    const fs::path unpacked = tree_.Root() / "unpacked";
    fs::create_directories(unpacked);
    ASSERT_EQ(ShellStatus("tar xzf " + Quoted(out / ("brimstrand-" + number + "-Linux.tar.gz")) + " -C " + Quoted(unpacked)), 0);
    GameLaunch launch = Launch({"--help"});
    launch.program = unpacked / ("brimstrand-" + number + "-Linux") / GameDir / "brimstrand";
    const Outcome help = RunToEnd(launch);
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find((launch.program.parent_path().parent_path() / "share/brimstrand").string()),
              std::string::npos)
        << help.out;
}

TEST(SourceRelease, HoldsExactlyTheTrackedFilesReproduciblyAndConfigures)
{
    const fs::path source = BRIM_SOURCE_DIR;
    if (ShellStatus("git -C " + Quoted(source) + " rev-parse --is-inside-work-tree >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "the source is not a git checkout (a release is made from one)";
    TempTree tree;
    const std::string version = GameVersion();
    const fs::path tarball = BuildDir() / ("brimstrand-" + version + ".tar.xz");
    ASSERT_EQ(ShellStatus("cmake --build " + Quoted(BuildDir()) + " --target dist >/dev/null"), 0);
    const std::vector<uint8_t> first = FileBytes(tarball);
    ASSERT_FALSE(first.empty());
    ASSERT_EQ(ShellStatus("cmake --build " + Quoted(BuildDir()) + " --target dist >/dev/null"), 0);
    EXPECT_EQ(FileBytes(tarball), first) << "the same commit gives the same tarball";

    const std::string prefix = "brimstrand-" + version + "/";
    std::string tracked = Shell("git -C " + Quoted(source) + " ls-tree -r --name-only HEAD | sed 's|^|" + prefix + "|'");
    std::string packed = Shell("tar tJf " + Quoted(tarball) + " | grep -v '/$'");
    EXPECT_EQ(packed, tracked) << "only and every tracked file";
    EXPECT_NE(tracked.find(prefix + "LICENSE\n"), std::string::npos);
    EXPECT_NE(tracked.find(prefix + "NEWS\n"), std::string::npos);

    // Unpacked, it configures (every listed source is there) and builds a library of its own.
    ASSERT_EQ(ShellStatus("tar xJf " + Quoted(tarball) + " -C " + Quoted(tree.Root())), 0);
    const fs::path unpacked = tree.Root() / prefix;
    const fs::path build = tree.Root() / "build";
    ASSERT_EQ(ShellStatus("cmake -S " + Quoted(unpacked) + " -B " + Quoted(build) +
                          " -DBRIM_TESTS=OFF -DBRIM_BENCH=OFF -DBRIM_SCREENSHOT=OFF >/dev/null"),
              0);
    EXPECT_EQ(ShellStatus("cmake --build " + Quoted(build) + " --target brim_png_encoder >/dev/null"), 0);
}
