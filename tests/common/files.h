#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// A whole file's bytes; empty when it cannot be read.
std::vector<uint8_t> FileBytes(const std::filesystem::path& path);
// The same as text.
std::string FileText(const std::filesystem::path& path);

// Replaces the file with bytes, making its folder first when missing.
void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);

// A fresh empty folder under the system's temporary folder, removed with everything in it when
// the object goes; an empty path when it could not be made.
class TTempFolder {
public:
    explicit TTempFolder(const char* prefix = "brim_test");
    ~TTempFolder();
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};
