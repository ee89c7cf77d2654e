#pragma once
#include <atomic>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class TAudioSample;
class TPixmap;

// Decodes start-up's picture (".png") and sound (".ogg") files on worker threads ahead of need,
// so that decoding overlaps the opening of the window and uses every core. Start-up still makes
// its images and sounds from the results one at a time, in its own order. The workers only read
// files and build pixmaps and samples; they touch no state of the game or of the drivers.
class TAssetPreloader {
public:
    // Files are decoded in the order given.
    explicit TAssetPreloader(std::vector<std::string> files);
    ~TAssetPreloader();
    TAssetPreloader(const TAssetPreloader&) = delete;
    TAssetPreloader& operator=(const TAssetPreloader&) = delete;

    // The decoded file, waiting for it if need be; none when it cannot be decoded. A file not
    // given to the constructor is decoded here and now. A fatal error raised while decoding the
    // file is raised again here.
    std::shared_ptr<TPixmap> Picture(const std::string& path);
    std::shared_ptr<TAudioSample> Sound(const std::string& path);

private:
    struct Job {
        std::string path;
        std::shared_ptr<TPixmap> picture;
        std::shared_ptr<TAudioSample> sound;
        std::exception_ptr error;
        bool done = false;
    };
    void Work();
    // The finished job of path, or none when path was not given to the constructor.
    const Job* Finished(const std::string& path);

    std::vector<Job> jobs_; // fixed once the workers run
    std::atomic<size_t> next_{0};
    std::mutex mutex_;
    std::condition_variable finished_;
    std::vector<std::thread> workers_;
};
