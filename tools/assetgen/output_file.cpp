#include "tools/assetgen/output_file.h"

#include <cstdio>
#include <stdexcept>

OutputFile::OutputFile(const std::string& path)
    : path_(path), temporary_(path + ".part"), file_(std::fopen(temporary_.c_str(), "wb"))
{
    if (!file_)
        throw std::runtime_error("cannot write " + path);
}

OutputFile::~OutputFile()
{
    if (file_) {
        std::fclose(file_);
        std::remove(temporary_.c_str());
    }
}

void OutputFile::Commit()
{
    bool ok = std::fflush(file_) == 0;
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
    if (!ok || std::rename(temporary_.c_str(), path_.c_str()) != 0) {
        std::remove(temporary_.c_str());
        throw std::runtime_error("cannot write " + path_);
    }
}
