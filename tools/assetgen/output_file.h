#pragma once
#include <cstdio>
#include <string>

// A file written under a temporary name and renamed into place only when complete, so an
// interrupted run never leaves a truncated asset that looks newer than the generator.
class OutputFile {
public:
    // Throws std::runtime_error when the file cannot be created.
    explicit OutputFile(const std::string& path);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    FILE* Get() const { return file_; }
    // Flushes, closes and renames into place; throws std::runtime_error on failure.
    void Commit();

private:
    std::string path_, temporary_;
    FILE* file_;
};
