#include "app/paths.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "system/stream.h"

std::string ExecutableFolder()
{
    char buffer[4096];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return {};
    const std::string exe(buffer, static_cast<size_t>(n));
    const size_t slash = exe.rfind('/');
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? "/" : exe.substr(0, slash);
}

bool EnterExecutableFolder()
{
    const std::string folder = ExecutableFolder();
    return !folder.empty() && chdir(folder.c_str()) == 0;
}

namespace {

std::string ParentFolder(const std::string& native)
{
    const size_t slash = native.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : native.substr(0, slash);
}

// Makes the rename itself durable.
void SyncFolder(const std::string& folder)
{
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

} // namespace

bool ReplaceFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    const std::string native = NativePath(path);
    const std::string folder = ParentFolder(native);
    if (PathKind(folder) == PathNone)
        mkdir(folder.c_str(), 0777);

    std::string temp = native + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0)
        return false;
    fchmod(fd, 0644); // mkstemp makes the file private; data files are ordinary ones
    FILE* file = fdopen(fd, "wb");
    if (!file) {
        close(fd);
        unlink(temp.c_str());
        return false;
    }
    bool ok = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = fflush(file) == 0 && ok;
    ok = fsync(fd) == 0 && ok;
    ok = fclose(file) == 0 && ok;
    ok = ok && rename(temp.c_str(), native.c_str()) == 0;
    if (!ok) {
        unlink(temp.c_str());
        return false;
    }
    SyncFolder(folder);
    return true;
}

bool MoveAside(const std::string& path)
{
    const std::string native = NativePath(path);
    return rename(native.c_str(), (native + ".bad").c_str()) == 0;
}
