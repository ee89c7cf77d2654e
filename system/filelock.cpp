#include "system/filelock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "system/replacefile.h"
#include "system/stream.h"

TFileLock::TFileLock(const std::string& path)
{
    const std::string native = NativePath(path);
    MakeParentFolder(native);
    fd_ = open(native.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd_ < 0)
        return;
    int result;
    while ((result = flock(fd_, LOCK_EX)) != 0 && errno == EINTR) {
    }
    if (result != 0) {
        close(fd_);
        fd_ = -1;
    }
}

TFileLock::~TFileLock()
{
    if (fd_ >= 0)
        close(fd_); // releases the lock
}
