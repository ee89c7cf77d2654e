#pragma once
#include <string>
#include <string_view>
#include <vector>

// The game's own small text files (challenge tables, statistics): lines of words with a
// "checksum" line at the end over every byte before it, so a damaged file is told from one
// with other values.

// The body with its checksum line added.
std::string SignedText(const std::string& body);

// The body's lines split into words, when the text ends in a checksum line that matches and every
// line is plain printable ASCII; false with error saying what is wrong otherwise.
bool ReadSignedText(std::string_view text, std::vector<std::vector<std::string>>& lines, std::string& error);
