#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Replaces the file at path as a whole: the bytes go to a temporary file "<file>.XXXXXX" in the
// same folder, are flushed to disk and the temporary file is renamed over the old one, so a
// crash or a full disk never leaves a truncated file. When path is a symbolic link the link's
// final target is replaced and the link stays. Missing folders above it are created. A
// termination signal waits until the file is complete. On failure (an empty path among them:
// the game has no data folder) the old file is left as it was, false is returned and errno says
// why.
bool ReplaceFile(const std::string& path, const std::vector<uint8_t>& bytes);

// Removes the temporary files an interrupted ReplaceFile of path left beside it. Only call it
// while no other program may be replacing the same file.
void RemoveReplaceLeftovers(const std::string& path);
// The file name an interrupted ReplaceFile's temporary file was to become ("a.replay" for
// "a.replay.Xy12Ab"), or "" when name is no such temporary file.
std::string ReplaceLeftoverTarget(const std::string& name);

// Creates the folder holding the file at native path, and any missing folder above it.
void MakeParentFolder(const std::string& native);
