#include "app/storage/replay_store.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <limits>
#include <system_error>

#include "app/storage/paths.h"
#include "game/replay_format.h"
#include "system/replacefile.h"
#include "system/stream.h"

namespace {

constexpr std::string_view Extension = ".replay";
constexpr size_t StampLength = 15; // "20261208-204433"
constexpr int MaxNameTries = 100;  // plays ending in the same second with the same score and name

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsFileNameChar(char c)
{
    return IsDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-';
}

// "2026-12-08T20:44:33Z" to "20261208-204433".
std::string Stamp(const std::string& date)
{
    std::string stamp;
    for (char c : date) {
        if (IsDigit(c))
            stamp += c;
        if (stamp.size() == 8 && c == 'T')
            stamp += '-';
    }
    return stamp;
}

std::string WithTry(const std::string& file, int attempt)
{
    if (attempt == 1)
        return file;
    return file.substr(0, file.size() - Extension.size()) + "." + std::to_string(attempt) + std::string(Extension);
}

std::string FileNamePart(const std::string& name)
{
    std::string part;
    for (char c : name)
        part += IsFileNameChar(c) ? c : '_';
    return part;
}

std::string Joined(const std::string& folder, const std::string& file) { return folder + "/" + file; }

// The replays already in the folder; anything else there is not ours to judge.
std::vector<TReplayFileInfo> ListReplays(const std::string& folder)
{
    std::vector<TReplayFileInfo> found;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(NativePath(folder), ec), end; !ec && it != end; it.increment(ec)) {
        TReplayFileInfo info;
        if (it->is_regular_file(ec) && ReadReplayFileName(it->path().filename().string(), info))
            found.push_back(std::move(info));
    }
    return found;
}

} // namespace

std::string ReplayDate(std::time_t when)
{
    std::tm utc{};
    gmtime_r(&when, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

std::string ReplayDay(std::time_t when)
{
    return ReplayDate(when).substr(0, 10);
}

std::string ReplayFileName(const TReplay& replay)
{
    std::string file = Stamp(replay.date) + "_" + std::to_string(replay.score);
    if (!replay.name.empty())
        file += '_' + FileNamePart(replay.name);
    return file + std::string(Extension);
}

bool ReadReplayFileName(const std::string& file, TReplayFileInfo& info)
{
    if (file.size() <= StampLength + 1 + Extension.size() || !file.ends_with(Extension))
        return false;
    for (size_t i = 0; i < StampLength; ++i)
        if (i == 8 ? file[i] != '-' : !IsDigit(file[i]))
            return false;
    if (file[StampLength] != '_')
        return false;
    const size_t end = file.size() - Extension.size();
    size_t at = StampLength + 1;
    int64_t score = 0;
    const size_t first = at;
    while (at < end && IsDigit(file[at]) && at - first < 10)
        score = score * 10 + (file[at++] - '0');
    const bool canonical = at > first && (file[first] != '0' || at == first + 1);
    if (!canonical || score > std::numeric_limits<int32_t>::max() || (at < end && file[at] != '_' && file[at] != '.'))
        return false;
    info.file = file;
    info.stamp = file.substr(0, StampLength);
    info.score = static_cast<int32_t>(score);
    info.name = at < end && file[at] == '_' ? file.substr(at + 1, file.find('.', at) - at - 1) : "";
    return true;
}

std::vector<std::string> RedundantReplays(std::vector<TReplayFileInfo> files)
{
    std::vector<bool> keep(files.size(), false);
    std::vector<size_t> order(files.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    auto keepFirst = [&](size_t count, auto before) {
        std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return before(files[a], files[b]); });
        for (size_t i = 0; i < order.size() && i < count; ++i)
            keep[order[i]] = true;
    };
    keepFirst(KeptBestReplays, [](const TReplayFileInfo& a, const TReplayFileInfo& b) {
        if (a.score != b.score)
            return a.score > b.score;
        return a.stamp != b.stamp ? a.stamp < b.stamp : a.file < b.file;
    });
    keepFirst(KeptRecentReplays, [](const TReplayFileInfo& a, const TReplayFileInfo& b) {
        return a.stamp != b.stamp ? a.stamp > b.stamp : a.file > b.file;
    });
    std::vector<std::string> redundant;
    for (size_t i = 0; i < files.size(); ++i)
        if (!keep[i])
            redundant.push_back(files[i].file);
    return redundant;
}

std::string SaveReplay(const TReplay& replay, const std::string& folder)
{
    if (folder.empty() || !ReplayProblem(replay).empty())
        return {};
    const std::string text = WriteReplay(replay);
    // The replay folder sits in the data folder, which a first run may not have made yet;
    // ReplaceFile makes the replay folder itself.
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(NativePath(folder)).parent_path(), ec);

    const std::string base = ReplayFileName(replay);
    std::string file;
    for (int attempt = 1; attempt <= MaxNameTries && file.empty(); ++attempt)
        if (PathKind(Joined(folder, WithTry(base, attempt))) == PathNone)
            file = WithTry(base, attempt);
    if (file.empty()) {
        errno = EEXIST;
        return {};
    }
    if (!ReplaceFile(Joined(folder, file), std::vector<uint8_t>(text.begin(), text.end())))
        return {};

    std::vector<TReplayFileInfo> readable;
    for (TReplayFileInfo& info : ListReplays(folder)) {
        TReplay checked;
        std::string error;
        if (info.file == file || LoadReplay(Joined(folder, info.file), checked, error))
            readable.push_back(std::move(info));
    }
    for (const std::string& old : RedundantReplays(readable))
        if (old != file)
            std::filesystem::remove(NativePath(Joined(folder, old)), ec);
    return Joined(folder, file);
}

void RemoveReplay(const std::string& path)
{
    std::error_code ec;
    std::filesystem::remove(NativePath(path), ec);
}

void RemoveReplayLeftovers(const std::string& folder)
{
    if (folder.empty())
        return;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(NativePath(folder), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        TReplayFileInfo info;
        const std::string target = ReplaceLeftoverTarget(name);
        if (!target.empty() && ReadReplayFileName(target, info) && it->is_regular_file(ec))
            std::filesystem::remove(it->path(), ec);
    }
}

bool LoadReplay(const std::string& path, TReplay& replay, std::string& error)
{
    if (const std::string why = WhyNotAFile(path); !why.empty()) {
        error = why;
        return false;
    }
    auto stream = OpenReadStream(path);
    if (!stream) {
        error = "the file cannot be opened";
        return false;
    }
    // One byte past the limit is enough for the parser to tell a file is too large.
    const auto size = static_cast<size_t>(std::clamp<int64_t>(stream->Size(), 0, MaxReplayBytes));
    std::string text(size + 1, '\0');
    const int64_t read = stream->Read(text.data(), static_cast<int64_t>(text.size()));
    if (read < 0) {
        error = "the file cannot be read";
        return false;
    }
    text.resize(static_cast<size_t>(read));
    return ParseReplay(text, replay, error);
}

std::string ReplayFilePath(const std::string& file, const std::string& folder) { return Joined(folder, file); }

std::vector<TReplayFileInfo> RecentReplays(size_t count, const std::string& folder)
{
    if (folder.empty())
        return {};
    std::vector<TReplayFileInfo> files = ListReplays(folder);
    // The file name breaks a tie of equal stamps, so the order is the same at every look.
    std::sort(files.begin(), files.end(), [](const TReplayFileInfo& a, const TReplayFileInfo& b) {
        return a.stamp != b.stamp ? a.stamp > b.stamp : a.file > b.file;
    });
    if (files.size() > count)
        files.resize(count);
    return files;
}


namespace {

// The newest of the folder's replays that the test accepts; "" when none.
std::string NewestReplay(const std::string& folder, const std::function<bool(const TReplayFileInfo&)>& accepts)
{
    if (folder.empty())
        return {};
    const TReplayFileInfo* newest = nullptr;
    const std::vector<TReplayFileInfo> files = ListReplays(folder);
    for (const TReplayFileInfo& info : files)
        if (accepts(info) && (!newest || info.file > newest->file))
            newest = &info;
    return newest ? Joined(folder, newest->file) : std::string();
}

} // namespace

std::string FindReplay(int32_t score, const std::string& name, const std::string& folder)
{
    const std::string part = FileNamePart(name);
    return NewestReplay(folder, [&](const TReplayFileInfo& info) { return info.score == score && info.name == part; });
}

std::string FindReplayAt(const std::string& date, const std::string& name, const std::string& folder)
{
    const std::string stamp = Stamp(date), part = FileNamePart(name);
    return NewestReplay(folder, [&](const TReplayFileInfo& info) { return info.stamp == stamp && info.name == part; });
}

std::string BestReplay(const std::string& folder)
{
    if (folder.empty())
        return {};
    const TReplayFileInfo* best = nullptr;
    const std::vector<TReplayFileInfo> files = ListReplays(folder);
    for (const TReplayFileInfo& info : files)
        if (!best || info.score > best->score || (info.score == best->score && info.file > best->file))
            best = &info;
    return best ? Joined(folder, best->file) : std::string();
}
