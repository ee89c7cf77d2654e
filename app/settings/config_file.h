#pragma once
#include <string>
#include <utility>
#include <vector>

// The text of the game's settings files beside preferences.dat: plain text a player may edit,
// one "key = value" a line, "#" starting a comment. The settings registry checks the keys and
// values; a line it cannot use costs only that line.

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

// Saves values into the file as it stands: every line of a key in changes gets the new value
// (its comment kept), a key the file lacks is added at the end, and every other line (comments,
// unknown keys, their order) stays as it is. A new file starts with the header as comment lines.
// A file too large to be settings is kept aside as ".bad" first; one that cannot be read is never
// written over. Written atomically; false, with the reason on stderr, when it was not saved.
bool SaveConfigChanges(const std::string& path, const std::vector<std::string>& header,
                       const std::vector<std::pair<std::string, std::string>>& changes);
