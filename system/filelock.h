#pragma once
#include <string>

// An exclusive lock on a lock file (flock), held while the object lives, so that programs
// sharing a folder take turns at its files. Waits until the lock is granted. The file (and its
// folder) is made when missing; where it cannot be, nothing is locked and Held() is false.
// Two locks on one file exclude each other even within one process: never nest them.
class TFileLock {
public:
    explicit TFileLock(const std::string& path);
    ~TFileLock();
    TFileLock(const TFileLock&) = delete;
    TFileLock& operator=(const TFileLock&) = delete;
    bool Held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};
