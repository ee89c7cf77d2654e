#include "app/settings/settings_file.h"

#include <algorithm>
#include <charconv>
#include <strings.h>

#include "app/settings/config_file.h"
#include "app/storage/data_folder.h"

namespace {

const TSettingId* FindSetting(const std::string& key, const std::vector<TSettingId>& ids)
{
    for (const TSettingId& id : ids)
        if (key == Declaration(id).key)
            return &id;
    return nullptr;
}

// "\"a\" or \"b\"", "\"a\", \"b\" or \"c\"".
std::string WordList(const std::vector<std::string>& words)
{
    std::string list;
    for (size_t i = 0; i < words.size(); ++i)
        list += (i == 0 ? "" : i + 1 == words.size() ? " or " : ", ") + ("\"" + words[i] + "\"");
    return list;
}

std::string DefaultText(TSettingId id)
{
    const TSettingDeclaration& declaration = Declaration(id);
    if (declaration.kind == TSettingKind::Number && declaration.fallback < declaration.minimum)
        return "none";
    return TSettingValues().Text(id);
}

// The value of one line, or the warning that says why it cannot be used.
bool Parse(TSettingId id, const std::string& text, TSettingValue& value, std::string& fault)
{
    const TSettingDeclaration& declaration = Declaration(id);
    const std::string key = declaration.key;
    switch (declaration.kind) {
    case TSettingKind::Switch:
    case TSettingKind::Choice: {
        const std::vector<std::string> words = SettingWords(id);
        for (size_t i = 0; i < words.size(); ++i) {
            if (strcasecmp(text.c_str(), words[i].c_str()) == 0) {
                value.number = static_cast<int32_t>(i);
                return true;
            }
        }
        fault = key + " must be " + WordList(words) + ", using " + DefaultText(id);
        return false;
    }
    case TSettingKind::Number: {
        int32_t number = 0;
        const char* end = text.data() + text.size();
        const auto [rest, error] = std::from_chars(text.data(), end, number);
        if (error == std::errc() && rest == end && number >= declaration.minimum && number <= declaration.maximum) {
            value.number = number;
            return true;
        }
        fault = key + " must be a whole number from " + std::to_string(declaration.minimum) + " to " +
                std::to_string(declaration.maximum) + ", using " + DefaultText(id);
        return false;
    }
    case TSettingKind::Keys:
    case TSettingKind::Buttons: {
        const bool keys = declaration.kind == TSettingKind::Keys;
        std::string unknown;
        value.keys = keys ? KeyList(text, unknown) : ButtonList(text, unknown);
        value.keyText = text;
        const bool reserved = std::any_of(value.keys.begin(), value.keys.end(), keys ? IsReservedKey : IsReservedPadButton);
        if (!value.keys.empty() && !reserved)
            return true;
        const std::string noun = keys ? "key" : "pad button";
        const std::string what =
            reserved         ? "a " + noun + " the game keeps for itself (" + (keys ? ReservedKeyNames : ReservedPadButtonNames) + ")"
            : unknown.empty() ? "a " + noun + " name missing"
                              : "unknown " + noun + " name \"" + unknown + "\"";
        fault = what + "; " + key + " keeps its default " + noun + "s " + declaration.words;
        return false;
    }
    }
    return false;
}

} // namespace

std::string SettingsFilePath(TSettingFile file) { return ConfigFilePath(FileDeclaration(file).name); }

TSettingsRead ReadSettings(TSettingFile file, const std::string& path)
{
    TSettingsRead read;
    TConfigFile config = ReadConfigFile(path);
    read.found = config.found;
    read.warnings = std::move(config.warnings);
    const std::vector<TSettingId> ids = SettingsOf(file);
    for (const TConfigEntry& entry : config.entries) {
        const TSettingId* id = FindSetting(entry.key, ids);
        if (!id) {
            read.warnings.push_back(ConfigWarning(
                path, entry.line, std::string("unknown ") + FileDeclaration(file).keyNoun + " \"" + entry.key + "\", ignored"));
            continue;
        }
        TSettingValue value;
        std::string fault;
        if (Parse(*id, entry.value, value, fault)) {
            read.values.Set(*id, std::move(value));
        } else {
            read.values.Set(*id, DefaultValue(*id));
            read.warnings.push_back(ConfigWarning(path, entry.line, fault));
        }
    }
    return read;
}

TSettingsRead LoadSettings(TSettingFile file)
{
    TSettingsRead read = ReadSettings(file, SettingsFilePath(file));
    for (const TSettingId id : SettingsOf(file))
        CurrentSettings().Set(id, read.values.Value(id));
    ReportConfigWarnings({read.found, {}, read.warnings});
    return read;
}

bool SaveSettings(TSettingFile file, const std::string& path, const TSettingValues& values,
                  const std::vector<TSettingId>& ids)
{
    std::vector<std::pair<std::string, std::string>> changes;
    for (const TSettingId id : ids)
        changes.emplace_back(Declaration(id).key, values.Text(id));
    return SaveConfigChanges(path, SettingsFileHeader(file), changes);
}

bool SaveSettings(TSettingFile file, const std::vector<TSettingId>& ids)
{
    return SaveSettings(file, SettingsFilePath(file), CurrentSettings(), ids);
}

bool WriteDefaultSettings(TSettingFile file, const std::string& path)
{
    return SaveSettings(file, path, TSettingValues(), SettingsOf(file));
}

std::vector<std::string> SettingsFileHeader(TSettingFile file)
{
    std::vector<std::string> header = {FileDeclaration(file).title};
    for (const TSettingId id : SettingsOf(file))
        header.push_back(std::string(Declaration(id).key) + ": " + Declaration(id).help);
    return header;
}
