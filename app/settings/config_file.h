#pragma once
#include <string>
#include <utility>
#include <vector>

// The game's own settings files beside preferences.dat (display, controls, accessibility): plain
// text a player may edit, one "key = value" a line, "#" starting a comment. Each file's owner
// checks the keys and values it knows; a line it cannot use costs only that line.

struct TConfigEntry {
    int line = 0;      // counting from 1, for warnings
    std::string key;   // lower case, trimmed
    std::string value; // trimmed
};

struct TConfigFile {
    bool found = false; // false for a missing (or unreadable, or oversized) file: all defaults
    std::vector<TConfigEntry> entries;
    std::vector<std::string> warnings; // one line each, naming the file and the line
};

// Files larger than this are not settings a person wrote: they are ignored with one warning.
constexpr size_t MaxConfigBytes = 64 * 1024;

TConfigFile ReadConfigFile(const std::string& path);

// "<path>:<line>: <what>", the form of every warning about a settings file.
std::string ConfigWarning(const std::string& path, int line, const std::string& what);

// Prints the warnings on stderr, one line each.
void ReportConfigWarnings(const TConfigFile& file);

// Writes the file whole (atomically, failures reported on stderr): the comment lines of header,
// each prefixed with "# ", then one "key = value" line per entry.
bool SaveConfigFile(const std::string& path, const std::vector<std::string>& header,
                    const std::vector<std::pair<std::string, std::string>>& entries);
