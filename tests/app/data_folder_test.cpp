#include "app/storage/data_folder.h"

#include "common/temp_folder.h"

using DataFolderTest = TempFolderTest;

TEST_F(DataFolderTest, FirstUsableSourceWinsInItsOrder)
{
    const std::string root = folder_.string();
    const std::string beside = root + "/game/data";
    std::filesystem::create_directories(root + "/game");
    TDataFolderSources sources{"", "", beside, root + "/xdg", root + "/home"};
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
    TDataFolderSources sources{"", "", root + "/file/data", root + "/file", ""};
    const TDataFolderChoice none = ChooseDataFolder(sources);
    EXPECT_EQ(none.folder, "");
    EXPECT_NE(none.warning.find("will not be saved"), std::string::npos);

    sources.home = root + "/home";
    EXPECT_EQ(ChooseDataFolder(sources).folder, root + "/home/.local/share/brimstrand");

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
