#include "app/storage/signed_text.h"

#include <cinttypes>
#include <cstdio>

#include "game/hash64.h"

namespace {

std::string ChecksumLine(std::string_view body)
{
    THash64 hash;
    hash.AddText(body);
    char line[40];
    std::snprintf(line, sizeof line, "checksum %016" PRIx64 "\n", hash.Value());
    return line;
}

} // namespace

std::string SignedText(const std::string& body)
{
    return body + ChecksumLine(body);
}

bool ReadSignedText(std::string_view text, std::vector<std::vector<std::string>>& lines, std::string& error)
{
    lines.clear();
    if (text.empty() || text.back() != '\n') {
        error = "the file is incomplete: it does not end with a whole line";
        return false;
    }
    const size_t last = text.rfind('\n', text.size() - 2);
    const size_t bodyEnd = last == std::string_view::npos ? 0 : last + 1;
    const std::string_view body = text.substr(0, bodyEnd);
    if (text.substr(bodyEnd).substr(0, 9) != "checksum ") {
        error = "the file is incomplete: it does not end with its checksum line";
        return false;
    }
    if (text.substr(bodyEnd) != ChecksumLine(body)) {
        error = "the checksum does not match: the file was damaged or edited";
        return false;
    }
    std::vector<std::string> words;
    std::string word;
    for (const char c : body) {
        if (c == '\n' || c == ' ') {
            if (!word.empty())
                words.push_back(word);
            word.clear();
            if (c == '\n') {
                lines.push_back(words);
                words.clear();
            }
        } else if (c < '!' || c > '~') {
            error = "the file holds characters that are not plain text";
            return false;
        } else {
            word += c;
        }
    }
    return true;
}
