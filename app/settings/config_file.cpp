#include "app/settings/config_file.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "app/storage/datafile.h"
#include "system/quarantine.h"
#include "system/stream.h"

namespace {

std::string Trimmed(const std::string& text)
{
    const auto isSpace = [](unsigned char c) { return std::isspace(c) != 0; };
    const auto first = std::find_if_not(text.begin(), text.end(), isSpace);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), isSpace).base();
    return first < last ? std::string(first, last) : std::string();
}

std::string LowerAscii(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The text's lines without their "\n"; a last line without one counts too.
std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

} // namespace

std::string ConfigWarning(const std::string& path, int line, const std::string& what)
{
    return NativePath(path) + ":" + std::to_string(line) + ": " + what;
}

TConfigFile ReadConfigFile(const std::string& path)
{
    TConfigFile file;
    const DataFileRead read = ReadTextDataFile(path, MaxConfigBytes);
    switch (read.state) {
    case DataFileState::Missing:
        return file;
    case DataFileState::Unreadable:
        file.warnings.push_back(NativePath(path) + ": cannot be read (" + read.reason + "); using the defaults");
        return file;
    case DataFileState::Damaged:
        file.warnings.push_back(NativePath(path) + ": larger than " + std::to_string(MaxConfigBytes) +
                                " bytes, not a settings file; using the defaults");
        return file;
    case DataFileState::Valid:
        break;
    }
    file.found = true;
    const std::string text(read.bytes.begin(), read.bytes.end());
    int number = 0;
    for (std::string line : Lines(text)) {
        ++number;
        line = Trimmed(line.substr(0, line.find('#')));
        if (line.empty())
            continue;
        const size_t equals = line.find('=');
        const std::string key = equals == std::string::npos ? std::string() : LowerAscii(Trimmed(line.substr(0, equals)));
        if (key.empty()) {
            file.warnings.push_back(ConfigWarning(path, number, "not a \"key = value\" line, ignored"));
            continue;
        }
        file.entries.push_back({number, key, Trimmed(line.substr(equals + 1))});
    }
    return file;
}

void ReportConfigWarnings(const TConfigFile& file)
{
    for (const std::string& warning : file.warnings)
        std::fprintf(stderr, "%s\n", warning.c_str());
}

bool SaveConfigChanges(const std::string& path, const std::vector<std::string>& header,
                       const std::vector<std::pair<std::string, std::string>>& changes)
{
    const DataFileRead read = ReadTextDataFile(path, MaxConfigBytes);
    if (read.state == DataFileState::Unreadable) {
        ReportSaveFailure(path, "the file there could not be read (" + read.reason + ")");
        return false;
    }
    if (read.state == DataFileState::Damaged)
        MoveAside(path);
    std::string text;
    if (read.state == DataFileState::Valid) {
        text.assign(read.bytes.begin(), read.bytes.end());
    } else {
        for (const std::string& line : header)
            text += line.empty() ? "#\n" : "# " + line + "\n";
    }
    std::string saved;
    std::vector<bool> placed(changes.size(), false);
    for (std::string line : Lines(text)) {
        const size_t comment = line.find('#');
        const size_t equals = line.find('=');
        if (equals != std::string::npos && equals < comment) {
            const std::string key = LowerAscii(Trimmed(line.substr(0, equals)));
            for (size_t i = 0; i < changes.size(); ++i) {
                if (changes[i].first != key)
                    continue;
                const std::string rest = comment == std::string::npos ? std::string() : "  " + line.substr(comment);
                line = line.substr(0, equals) + "= " + changes[i].second + rest;
                placed[i] = true;
            }
        }
        saved += line + "\n";
    }
    for (size_t i = 0; i < changes.size(); ++i)
        if (!placed[i])
            saved += changes[i].first + " = " + changes[i].second + "\n";
    return SaveDataFile(path, {saved.begin(), saved.end()});
}
