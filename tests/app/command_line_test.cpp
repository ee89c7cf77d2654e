#include "app/settings/command_line.h"

#include <gtest/gtest.h>

TEST(CommandLine, OptionsAreReadInBothSpellingsAndDefaultsStay)
{
    const TParsedCommandLine none = ParseCommandLine({});
    EXPECT_EQ(none.error, "");
    EXPECT_FALSE(none.options.help);
    EXPECT_FALSE(none.options.version);
    EXPECT_EQ(none.options.dataDir, "");

    const TParsedCommandLine apart = ParseCommandLine({"--data-dir", "/saves here", "--help"});
    EXPECT_EQ(apart.error, "");
    EXPECT_EQ(apart.options.dataDir, "/saves here");
    EXPECT_TRUE(apart.options.help);

    const TParsedCommandLine joined = ParseCommandLine({"--data-dir=rel/dir", "--version"});
    EXPECT_EQ(joined.error, "");
    EXPECT_EQ(joined.options.dataDir, "rel/dir");
    EXPECT_TRUE(joined.options.version);
}

TEST(CommandLine, AListOptionTakesTheWordsUpToTheNextOption)
{
    const TParsedCommandLine several = ParseCommandLine({"--verify", "a.replay", "b c.replay", "--data-dir", "d"});
    EXPECT_EQ(several.error, "");
    EXPECT_EQ(several.options.verify, (std::vector<std::string>{"a.replay", "b c.replay"}));
    EXPECT_EQ(several.options.dataDir, "d");
    const TParsedCommandLine joined = ParseCommandLine({"--verify=a.replay", "b.replay"});
    EXPECT_EQ(joined.options.verify, (std::vector<std::string>{"a.replay", "b.replay"}));
    EXPECT_EQ(ParseCommandLine({"--verify"}).error, "option --verify needs FILE...");
    EXPECT_EQ(ParseCommandLine({"--verify", "--help"}).error, "option --verify needs FILE...");
    EXPECT_EQ(ParseCommandLine({"--replay", "a.replay"}).options.replay, "a.replay");
    EXPECT_EQ(ParseCommandLine({"--replay", "a.replay", "b.replay"}).error, "unexpected argument: b.replay");
}

TEST(CommandLine, AnythingNotUnderstoodIsAnErrorNamingIt)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--bogus"}, "unknown option: --bogus"},
        {{"-h"}, "unknown option: -h"},
        {{"play"}, "unexpected argument: play"},
        {{"--data-dir"}, "option --data-dir needs DIR"},
        {{"--data-dir="}, "option --data-dir needs DIR"},
        {{"--help=yes"}, "option --help takes no argument"},
        {{"--help", "--bogus=1"}, "unknown option: --bogus=1"},
    };
    for (const auto& [arguments, error] : cases)
        EXPECT_EQ(ParseCommandLine(arguments).error, error) << arguments[0];
}

TEST(CommandLine, DisplayOptionsAndTheScaleWithinItsRange)
{
    const TParsedCommandLine none = ParseCommandLine({});
    EXPECT_EQ(none.options.scale, 0);
    EXPECT_FALSE(none.options.fullscreen);
    EXPECT_FALSE(none.options.windowed);
    EXPECT_FALSE(none.options.integerScale);

    const TParsedCommandLine all = ParseCommandLine({"--scale", "8", "--fullscreen", "--windowed", "--integer-scale"});
    EXPECT_EQ(all.error, "");
    EXPECT_EQ(all.options.scale, 8);
    EXPECT_TRUE(all.options.fullscreen);
    EXPECT_TRUE(all.options.windowed);
    EXPECT_TRUE(all.options.integerScale);
    EXPECT_EQ(ParseCommandLine({"--scale=1"}).options.scale, 1);

    for (const char* bad : {"0", "9", "-1", "2.5", "two", "3x"})
        EXPECT_EQ(ParseCommandLine({"--scale", bad}).error,
                  std::string("option --scale needs a whole number from 1 to 8, not ") + bad);
    EXPECT_EQ(ParseCommandLine({"--scale"}).error, "option --scale needs N");
    EXPECT_EQ(ParseCommandLine({"--fullscreen=yes"}).error, "option --fullscreen takes no argument");
}

TEST(CommandLine, UsageListsEveryOptionWithItsArgumentAndHelp)
{
    const std::string usage = OptionsUsage();
    EXPECT_EQ(usage.rfind("Usage: brimstrand [OPTION]...\n", 0), 0u);
    for (const TOption& option : CommandLineOptions()) {
        std::string left = std::string(option.name);
        if (!option.argument.empty())
            left += " " + std::string(option.argument);
        const size_t at = usage.find("  " + left + " ");
        ASSERT_NE(at, std::string::npos) << left;
        EXPECT_NE(usage.find(std::string(option.help), at), std::string::npos) << left;
    }
}
