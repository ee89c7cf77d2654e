#include "app/shell/preload.h"

#include <algorithm>
#include <sys/resource.h>
#include <unistd.h>

#include "audio/modules.h"
#include "audio/sample.h"
#include "draw2d/pixmap.h"
#include "draw2d/pngloader.h"

TAssetPreloader::TAssetPreloader(std::vector<std::string> files)
{
    // The loader registries start on first use without locking: start them before the workers.
    StartPNGLoader();
    StartAudioLoaders();
    for (auto& path : files)
        jobs_.push_back(Job{std::move(path), {}, {}, {}, false});
    const unsigned count = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
    for (unsigned i = 0; i < count; ++i)
        workers_.emplace_back(&TAssetPreloader::Work, this);
}

TAssetPreloader::~TAssetPreloader()
{
    next_ = jobs_.size(); // what is not started yet is not needed any more
    for (auto& worker : workers_)
        worker.join();
}

void TAssetPreloader::Work()
{
    // The opening of the window on the main thread comes first; decoding takes what it leaves.
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10);
    for (size_t i; (i = next_++) < jobs_.size();) {
        Job& job = jobs_[i];
        try {
            if (job.path.ends_with(".ogg"))
                job.sound = LoadAudioSampleFrom(job.path);
            else
                job.picture = LoadPixmap(job.path);
        } catch (...) {
            job.error = std::current_exception();
        }
        {
            std::lock_guard lock(mutex_);
            job.done = true;
        }
        finished_.notify_all();
    }
}

const TAssetPreloader::Job* TAssetPreloader::Finished(const std::string& path)
{
    const auto it = std::find_if(jobs_.begin(), jobs_.end(), [&](const Job& j) { return j.path == path; });
    if (it == jobs_.end())
        return nullptr;
    std::unique_lock lock(mutex_);
    finished_.wait(lock, [&] { return it->done; });
    if (it->error)
        std::rethrow_exception(it->error);
    return &*it;
}

std::shared_ptr<TPixmap> TAssetPreloader::Picture(const std::string& path)
{
    const Job* job = Finished(path);
    return job ? job->picture : LoadPixmap(path);
}

std::shared_ptr<TAudioSample> TAssetPreloader::Sound(const std::string& path)
{
    const Job* job = Finished(path);
    return job ? job->sound : LoadAudioSampleFrom(path);
}
