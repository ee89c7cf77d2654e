// The README's file table, the manual page's FILES section and --help list what the settings
// registry declares, so none of them can fall behind a new setting.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <string>

#include "app/cli/help_text.h"
#include "app/settings/registry.h"
#include "common/files.h"

namespace {

const std::filesystem::path SourceRoot = BRIM_SOURCE_DIR;

// The text from the line starting with `from` up to the next line starting with `to`.
std::string Section(const std::string& text, const std::string& from, const std::string& to)
{
    const size_t start = text.find("\n" + from);
    if (start == std::string::npos)
        return {};
    const size_t end = text.find("\n" + to, start + 1);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// Every setting key of the registry.
std::set<std::string> DeclaredKeys()
{
    std::set<std::string> keys;
    for (const TSettingDeclaration& declaration : SettingDeclarations)
        keys.insert(declaration.key);
    return keys;
}

TEST(SettingsDocs, TheReadmeFileTableHoldsEveryFileAndKeyAndNoOther)
{
    const std::string table = Section(FileText(SourceRoot / "README.md"), "## Files", "## ");
    ASSERT_FALSE(table.empty()) << "README.md has no Files section";
    std::set<std::string> listed;
    for (int32_t f = 0; f < SettingFileCount; ++f) {
        const std::string name = FileDeclaration(static_cast<TSettingFile>(f)).name;
        const std::regex row("\n\\| `" + std::regex_replace(name, std::regex("\\."), "\\.") + "` \\| ([^|]*) \\|");
        std::smatch match;
        ASSERT_TRUE(std::regex_search(table, match, row)) << name << " has no row";
        const std::string keys = match[1];
        const std::regex key("`([a-z_]+)`");
        for (auto it = std::sregex_iterator(keys.begin(), keys.end(), key); it != std::sregex_iterator(); ++it)
            listed.insert((*it)[1]);
        for (const TSettingId id : SettingsOf(static_cast<TSettingFile>(f)))
            EXPECT_NE(keys.find("`" + std::string(Declaration(id).key) + "`"), std::string::npos)
                << Declaration(id).key << " is missing from the row of " << name;
    }
    EXPECT_EQ(listed, DeclaredKeys()) << "the table names a key the game does not have";
}

TEST(SettingsDocs, TheManualPageAndHelpNameEveryFileAndKey)
{
    const std::string files = Section(FileText(SourceRoot / "dist" / "brimstrand.6.in"), ".SH FILES", ".SH ");
    ASSERT_FALSE(files.empty()) << "the manual page has no FILES section";
    const std::string help = HelpText("assets", "data", "data");
    for (int32_t f = 0; f < SettingFileCount; ++f) {
        const std::string name = FileDeclaration(static_cast<TSettingFile>(f)).name;
        EXPECT_NE(files.find(".I " + name), std::string::npos) << name;
        EXPECT_NE(help.find("data/" + name), std::string::npos) << name;
    }
    for (const std::string& key : DeclaredKeys()) {
        EXPECT_NE(files.find(key), std::string::npos) << key << " is missing from the manual page";
        EXPECT_NE(help.find(key + ": "), std::string::npos) << key << " is missing from --help";
    }
}

} // namespace
