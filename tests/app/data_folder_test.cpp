#include "app/storage/data_folder.h"

#include <algorithm>

#include "common/temp_folder.h"

using DataFolderTest = TempFolderTest;

TEST_F(DataFolderTest, FirstUsableSourceWinsInItsOrder)
{
    const std::string root = folder_.string();
    const std::string beside = root + "/game/data";
    std::filesystem::create_directories(root + "/game");
    TDataFolderSources sources{"", "", beside, root + "/xdg", root + "/home", ""};
    EXPECT_EQ(ChooseDataFolder(sources).folder, beside) << "a writable portable copy keeps its data";

    sources.besideExecutable.clear();
    EXPECT_EQ(ChooseDataFolder(sources).folder, root + "/xdg/brimstrand");
    sources.xdgDataHome = "relative/xdg";
    EXPECT_EQ(ChooseDataFolder(sources).folder, root + "/home/.local/share/brimstrand")
        << "a relative XDG_DATA_HOME is ignored";

    sources.environment = root + "/env";
    EXPECT_EQ(ChooseDataFolder(sources).folder, root + "/env");
    sources.option = "by option"; // relative to the working directory, made absolute
    const TDataFolderChoice chosen = ChooseDataFolder(sources);
    EXPECT_EQ(chosen.folder, root + "/by option");
    EXPECT_EQ(chosen.warning, "");
}

TEST_F(DataFolderTest, UnusableFoldersAreSkippedAndNoneLeavesAWarning)
{
    const std::string root = folder_.string();
    WriteBytes(root + "/file", {1}); // a file where a folder would have to be
    TDataFolderSources sources{"", "", root + "/file/data", root + "/file", "", ""};
    const TDataFolderChoice none = ChooseDataFolder(sources);
    EXPECT_EQ(none.folder, "");
    EXPECT_NE(none.warning.find("will not be saved"), std::string::npos);

    sources.home = root + "/home";
    const TDataFolderChoice home = ChooseDataFolder(sources);
    EXPECT_EQ(home.folder, root + "/home/.local/share/brimstrand");
    EXPECT_EQ(home.warning, "brimstrand: XDG_DATA_HOME (" + root + "/file) is not a folder that can be written; "
                            "keeping the data in " + root + "/home/.local/share/brimstrand")
        << "an unusable XDG_DATA_HOME is said, not passed over in silence";

    sources.option = root + "/file/saves";
    const TDataFolderChoice blocked = ChooseDataFolder(sources);
    EXPECT_EQ(blocked.folder, root + "/file/saves") << "the folder asked for is kept for reading";
    EXPECT_NE(blocked.warning.find("cannot write to " + root + "/file/saves"), std::string::npos);
}

TEST_F(DataFolderTest, FilesAreNamedInsideTheFolderInUse)
{
    EXPECT_EQ(DataFilePath("preferences.dat"), "data/preferences.dat") << "before start-up chooses";
    UseDataFolder("/somewhere/brimstrand");
    EXPECT_EQ(DataFilePath("display.cfg"), "/somewhere/brimstrand/display.cfg");
    UseDataFolder("");
    EXPECT_EQ(DataFilePath("highscores.dat"), "") << "no folder: no file";
    UseDataFolder("data");
}

TEST_F(DataFolderTest, SettingsStayInAChosenOrPortableFolderElseGoUnderTheConfigBase)
{
    const std::string root = folder_.string();
    TDataFolderSources sources{"", "", "", "", root + "/home", ""};
    const TDataFolderChoice home = ChooseDataFolder(sources);
    EXPECT_EQ(ChooseConfigFolder(sources, home), root + "/home/.config/brimstrand");
    sources.xdgConfigHome = root + "/xdg-config";
    EXPECT_EQ(ChooseConfigFolder(sources, home), root + "/xdg-config/brimstrand");
    sources.xdgConfigHome = "relative";
    EXPECT_EQ(ChooseConfigFolder(sources, home), root + "/home/.config/brimstrand")
        << "a relative XDG_CONFIG_HOME is ignored";

    for (std::string TDataFolderSources::*given :
         {&TDataFolderSources::option, &TDataFolderSources::environment, &TDataFolderSources::besideExecutable}) {
        TDataFolderSources chosen = sources;
        chosen.*given = root + "/chosen";
        EXPECT_EQ(ChooseConfigFolder(chosen, ChooseDataFolder(chosen)), root + "/chosen")
            << "a folder of its own keeps everything together";
    }

    WriteBytes(root + "/file", {1});
    TDataFolderSources blocked{"", "", "", root + "/xdg-data", root + "/file", root + "/file"};
    const TDataFolderChoice data = ChooseDataFolder(blocked);
    EXPECT_EQ(ChooseConfigFolder(blocked, data), data.folder) << "no config base: the data folder";
    EXPECT_EQ(ChooseConfigFolder(blocked, TDataFolderChoice{}), "") << "nowhere to save: none";
}

TEST_F(DataFolderTest, SettingsFilesMoveOnceAndNothingElseMoves)
{
    const std::string from = folder_.string() + "/data";
    const std::string to = folder_.string() + "/config/brimstrand";
    WriteBytes(from + "/display.cfg", {'a'});
    WriteBytes(from + "/controls.cfg", {'b'});
    WriteBytes(from + "/highscores.dat", {'c'});
    WriteBytes(from + "/display.cfg.bad", {'d'});

    std::vector<std::string> lines = MoveSettingsFiles(from, to);
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, (std::vector<std::string>{"brimstrand: moved " + from + "/controls.cfg to " + to + "/controls.cfg",
                                               "brimstrand: moved " + from + "/display.cfg to " + to + "/display.cfg"}));
    EXPECT_EQ(FileBytes(to + "/display.cfg"), std::vector<uint8_t>{'a'});
    EXPECT_EQ(FileBytes(to + "/controls.cfg"), std::vector<uint8_t>{'b'});
    EXPECT_FALSE(std::filesystem::exists(from + "/display.cfg"));
    EXPECT_TRUE(std::filesystem::exists(from + "/highscores.dat"));
    EXPECT_TRUE(std::filesystem::exists(from + "/display.cfg.bad"));
    EXPECT_EQ(MoveSettingsFiles(from, to), std::vector<std::string>{}) << "a second start moves nothing";

    // A file already at the new place wins; the old one is left alone.
    WriteBytes(from + "/display.cfg", {'e'});
    EXPECT_EQ(MoveSettingsFiles(from, to), std::vector<std::string>{});
    EXPECT_EQ(FileBytes(to + "/display.cfg"), std::vector<uint8_t>{'a'});
    EXPECT_EQ(MoveSettingsFiles(to, to), std::vector<std::string>{}) << "one folder for both: nothing to move";
    EXPECT_EQ(MoveSettingsFiles(folder_.string() + "/none", to), std::vector<std::string>{});
}

TEST_F(DataFolderTest, SettingsFilesAreNamedInsideTheConfigFolder)
{
    EXPECT_EQ(ConfigFilePath("display.cfg"), "data/display.cfg") << "before start-up chooses";
    UseConfigFolder("/config/brimstrand");
    EXPECT_EQ(ConfigFilePath("controls.cfg"), "/config/brimstrand/controls.cfg");
    UseConfigFolder("");
    EXPECT_EQ(ConfigFilePath("settings.cfg"), "");
    UseConfigFolder("data");
}
