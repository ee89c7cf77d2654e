#include "app/settings/config_file.h"

#include <filesystem>
#include <string>

#include "common/temp_folder.h"

namespace {

using ConfigFileTest = TempFolderTest;

void WriteText(const std::string& path, const std::string& text) { WriteBytes(path, {text.begin(), text.end()}); }

TEST_F(ConfigFileTest, ReadsKeysAndValuesSkippingCommentsAndBlankLines)
{
    WriteText("a.cfg", "# display\n\n  Scale = 2  \nfullscreen=yes # remembered\r\n   \nname = A = B\n");
    const TConfigFile file = ReadConfigFile("a.cfg");
    ASSERT_TRUE(file.found);
    EXPECT_TRUE(file.warnings.empty());
    ASSERT_EQ(file.entries.size(), 3u);
    EXPECT_EQ(file.entries[0].line, 3);
    EXPECT_EQ(file.entries[0].key, "scale") << "keys are not case sensitive";
    EXPECT_EQ(file.entries[0].value, "2");
    EXPECT_EQ(file.entries[1].key, "fullscreen");
    EXPECT_EQ(file.entries[1].value, "yes") << "a comment after the value and a CR are not part of it";
    EXPECT_EQ(file.entries[2].value, "A = B") << "only the first '=' divides";
}

TEST_F(ConfigFileTest, LinesThatAreNoSettingsWarnWithTheirNumber)
{
    WriteText("b.cfg", "scale = 2\njust words\n= 3\nwindowed = \n");
    const TConfigFile file = ReadConfigFile("b.cfg");
    ASSERT_EQ(file.warnings.size(), 2u);
    EXPECT_EQ(file.warnings[0], "b.cfg:2: not a \"key = value\" line, ignored");
    EXPECT_EQ(file.warnings[1], "b.cfg:3: not a \"key = value\" line, ignored");
    ASSERT_EQ(file.entries.size(), 2u);
    EXPECT_EQ(file.entries[1].value, "") << "an empty value is for the owner to judge";
}

TEST_F(ConfigFileTest, MissingSpecialAndOversizedFilesGiveTheDefaults)
{
    EXPECT_FALSE(ReadConfigFile("none.cfg").found);
    EXPECT_TRUE(ReadConfigFile("none.cfg").warnings.empty()) << "a first start is no fault";

    std::filesystem::create_directory("dir.cfg");
    EXPECT_FALSE(ReadConfigFile("dir.cfg").found);

    WriteText("big.cfg", std::string(MaxConfigBytes + 1, 'x'));
    const TConfigFile big = ReadConfigFile("big.cfg");
    EXPECT_FALSE(big.found);
    ASSERT_EQ(big.warnings.size(), 1u);
    EXPECT_NE(big.warnings[0].find("big.cfg"), std::string::npos);
}

TEST_F(ConfigFileTest, SavedFilesReadBackAndFailuresLeaveTheOldFile)
{
    ASSERT_TRUE(SaveConfigChanges("data\\c.cfg", {"Brimstrand display", ""}, {{"scale", "3"}, {"fullscreen", "no"}}));
    EXPECT_EQ(FileText("data/c.cfg"), "# Brimstrand display\n#\nscale = 3\nfullscreen = no\n");
    const TConfigFile file = ReadConfigFile("data\\c.cfg");
    ASSERT_EQ(file.entries.size(), 2u);
    EXPECT_EQ(file.entries[0].value, "3");
    {
        FileSizeLimit limit(4); // the disk "fills up"
        EXPECT_FALSE(SaveConfigChanges("data\\c.cfg", {}, {{"scale", "4"}}));
    }
    EXPECT_EQ(FileText("data/c.cfg"), "# Brimstrand display\n#\nscale = 3\nfullscreen = no\n");
}

// A save changes the values it is given and nothing else: every line of a changed key, its
// comment kept; a key the file lacks at the end; no header over an existing file.
TEST_F(ConfigFileTest, ChangesEditTheFileInPlace)
{
    WriteText("e.cfg", "# mine\n\nScale=2 # big\nodd line\nextra = kept\nscale = 5\n");
    ASSERT_TRUE(SaveConfigChanges("e.cfg", {"never written"}, {{"scale", "3"}, {"fullscreen", "yes"}}));
    EXPECT_EQ(FileText("e.cfg"), "# mine\n\nScale= 3  # big\nodd line\nextra = kept\nscale = 3\nfullscreen = yes\n");
}

// An oversized file is no settings a person wrote: it is kept aside before the new one is written.
TEST_F(ConfigFileTest, AnOversizedFileIsKeptAsideBeforeASave)
{
    const std::string big(MaxConfigBytes + 1, 'x');
    WriteText("big.cfg", big);
    ASSERT_TRUE(SaveConfigChanges("big.cfg", {"title"}, {{"scale", "3"}}));
    EXPECT_EQ(FileText("big.cfg"), "# title\nscale = 3\n");
    EXPECT_EQ(FileText("big.cfg.bad"), big);
}

} // namespace
