#include "app/storage/datafile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

#include "app/storage/data_folder.h"
#include "system/filelock.h"
#include "system/quarantine.h"
#include "system/replacefile.h"
#include "system/stream.h"

std::string DataLockFile() { return DataFilePath(".lock"); }

namespace {

// Reads at most limit bytes of the regular file at path: Valid with what was read, Missing, or
// Unreadable with the reason.
DataFileRead ReadUpTo(const std::string& path, size_t limit)
{
    DataFileRead result;
    const std::string native = NativePath(path);
    // Not blocking on the open: a FIFO in its place would wait for a writer for ever.
    const int fd = open(native.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT && errno != ENOTDIR) {
            result.state = DataFileState::Unreadable;
            result.reason = std::strerror(errno);
        }
        return result;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return result;
    }
    result.bytes.resize(limit);
    size_t done = 0;
    while (done < limit) {
        const ssize_t n = read(fd, result.bytes.data() + done, limit - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            result.state = DataFileState::Unreadable;
            result.reason = std::strerror(errno);
            result.bytes.clear();
            close(fd);
            return result;
        }
        if (n == 0)
            break;
        done += static_cast<size_t>(n);
    }
    close(fd);
    result.bytes.resize(done);
    result.state = DataFileState::Valid;
    return result;
}

} // namespace

DataFileRead ReadDataFile(const std::string& path, size_t size)
{
    DataFileRead result = ReadUpTo(path, size);
    if (result.state == DataFileState::Valid && result.bytes.size() < size)
        result.state = DataFileState::Damaged;
    return result;
}

DataFileRead ReadTextDataFile(const std::string& path, size_t limit)
{
    DataFileRead result = ReadUpTo(path, limit + 1);
    if (result.state == DataFileState::Valid && result.bytes.size() > limit)
        result.state = DataFileState::Damaged;
    return result;
}

bool ReadOwnTextFile(const std::string& path, size_t limit,
                     const std::function<bool(std::string_view text, std::string& error)>& parse,
                     const std::string& instead)
{
    const DataFileRead file = ReadTextDataFile(path, limit);
    if (file.state == DataFileState::Missing)
        return true;
    if (file.state == DataFileState::Unreadable) {
        ReportUnreadable(path, file.reason);
        return false;
    }
    std::string error = "it is larger than " + std::to_string(limit / 1024) + " KiB";
    if (file.state == DataFileState::Valid &&
        parse({reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size()}, error))
        return true;
    MoveAside(path);
    std::fprintf(stderr, "%s is damaged (%s): moved aside as %s.bad, %s\n", NativePath(path).c_str(), error.c_str(),
                 NativePath(path).c_str(), instead.c_str());
    return true;
}

void ReportUnreadable(const std::string& path, const std::string& reason)
{
    static std::set<std::string> reported;
    const std::string native = NativePath(path);
    if (!reported.insert(native).second)
        return;
    std::fprintf(stderr, "Cannot read %s (%s): playing on the defaults, the file is left as it is\n", native.c_str(),
                 reason.c_str());
}

void ReportSaveFailure(const std::string& path, const std::string& reason)
{
    std::fprintf(stderr, "Could not save %s: %s\n", NativePath(path).c_str(), reason.c_str());
}

bool SaveDataFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    if (path.empty()) {
        std::fprintf(stderr, "Could not save: the game has no data folder, so nothing is kept (see --help)\n");
        return false;
    }
    if (ReplaceFile(path, bytes))
        return true;
    ReportSaveFailure(path, std::strerror(errno));
    return false;
}

void RemoveDataLeftovers(const std::vector<std::string>& paths)
{
    const TFileLock lock(DataLockFile()); // another copy's save in progress holds it
    for (const std::string& path : paths)
        RemoveReplaceLeftovers(path);
}
