#include "system/replacefile.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "system/stream.h"
#include "system/termination.h"

namespace {

// mkstemp's six random characters after "<file>.".
constexpr size_t TempSuffixLength = 6;
// Links are followed this deep at most, as the kernel does.
constexpr int MaxLinkHops = 40;

std::string ParentFolder(const std::string& native)
{
    const size_t slash = native.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : native.substr(0, slash);
}

std::string FileName(const std::string& native)
{
    const size_t slash = native.rfind('/');
    return slash == std::string::npos ? native : native.substr(slash + 1);
}

// The file a save through native writes: native itself, or the end of its chain of links.
std::string LinkTarget(std::string native)
{
    for (int hop = 0; hop < MaxLinkHops; ++hop) {
        char buffer[4096];
        const ssize_t n = readlink(native.c_str(), buffer, sizeof buffer - 1);
        if (n <= 0)
            break;
        const std::string target(buffer, static_cast<size_t>(n));
        native = target[0] == '/' ? target : ParentFolder(native) + "/" + target;
    }
    return native;
}

// Makes the rename itself durable.
void SyncFolder(const std::string& folder)
{
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

bool WriteWhole(int fd, const std::vector<uint8_t>& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

bool IsTempSuffix(const std::string& suffix)
{
    if (suffix.size() != TempSuffixLength)
        return false;
    for (unsigned char c : suffix)
        if (!std::isalnum(c))
            return false;
    return true;
}

} // namespace

void MakeParentFolder(const std::string& native)
{
    const std::string folder = ParentFolder(native);
    if (folder == native || PathKind(folder) != PathNone)
        return;
    MakeParentFolder(folder);
    // Private, as the base directory rules ask for folders made on the player's behalf.
    mkdir(folder.c_str(), 0700);
}

bool ReplaceFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    if (path.empty()) {
        errno = ENOENT; // no data folder: nothing is saved
        return false;
    }
    const TTerminationDeferral whole; // a signal now ends the program after the rename
    const std::string native = LinkTarget(NativePath(path));
    MakeParentFolder(native);

    std::string temp = native + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0)
        return false;
    fchmod(fd, 0644); // mkstemp makes the file private; data files are ordinary ones
    bool ok = WriteWhole(fd, bytes) && fsync(fd) == 0;
    int error = errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && rename(temp.c_str(), native.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        unlink(temp.c_str());
        errno = error;
        return false;
    }
    SyncFolder(ParentFolder(native));
    return true;
}

std::string ReplaceLeftoverTarget(const std::string& name)
{
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0 || !IsTempSuffix(name.substr(dot + 1)))
        return {};
    return name.substr(0, dot);
}

void RemoveReplaceLeftovers(const std::string& path)
{
    const std::string native = NativePath(path);
    const std::string folder = ParentFolder(native);
    const std::string target = FileName(native);
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (ReplaceLeftoverTarget(name) != target)
            continue;
        const std::string leftover = folder + "/" + name;
        struct stat st {};
        if (lstat(leftover.c_str(), &st) == 0 && S_ISREG(st.st_mode))
            unlink(leftover.c_str());
    }
    closedir(dir);
}
