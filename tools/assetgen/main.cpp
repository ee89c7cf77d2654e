// brim_assetgen: writes every picture and sound the game loads into gfx/ and sfx/ under the
// folder given, plus contact_sheet.png there; with --icons, the menu icons at every size.
// Output is the same, byte for byte, on every run.
#include "game/assets.h"
#include "tools/assetgen/assets.h"
#include "tools/assetgen/contact_sheet.h"
#include "tools/assetgen/icons.h"
#include "tools/assetgen/ogg_writer.h"
#include "tools/assetgen/png_writer.h"

#include <algorithm>
#include <ctime>
#include <atomic>
#include <exception>
#include <filesystem>
#include <functional>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

// Runs the jobs on a few threads. Each job writes its own file, so the order they finish in
// does not matter.
double ThreadSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec * 1e-9;
}

bool RunAll(const std::vector<std::function<void()>>& jobs, bool verbose)
{
    std::atomic<size_t> next{0};
    std::atomic<bool> ok{true};
    std::mutex report;
    auto worker = [&] {
        for (size_t i; (i = next++) < jobs.size();) {
            try {
                double start = ThreadSeconds();
                jobs[i]();
                if (verbose) {
                    std::lock_guard<std::mutex> lock(report);
                    std::cerr << "job " << i << ": " << ThreadSeconds() - start << " s of processor time\n";
                }
            } catch (const std::exception& e) {
                std::lock_guard<std::mutex> lock(report);
                std::cerr << "brim_assetgen: " << e.what() << "\n";
                ok = false;
            }
        }
    };
    unsigned count = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
    std::vector<std::thread> threads;
    for (unsigned t = 0; t < count; ++t)
        threads.emplace_back(worker);
    for (std::thread& t : threads)
        t.join();
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--icons") {
        try {
            WriteIcons(argv[2]);
            return 0;
        } catch (const std::exception& e) {
            std::cerr << "brim_assetgen: " << e.what() << "\n";
            return 1;
        }
    }
    bool verbose = argc == 3 && std::string(argv[1]) == "-v";
    if (argc != 2 && !verbose) {
        std::cerr << "usage: brim_assetgen [-v] <output folder>\n"
                     "       brim_assetgen --icons <output folder>\n";
        return 2;
    }
    const std::filesystem::path out = argv[argc - 1];
    try {
        std::filesystem::create_directories(out / "gfx");
        std::filesystem::create_directories(out / "sfx");
    } catch (const std::exception& e) {
        std::cerr << "brim_assetgen: " << e.what() << "\n";
        return 1;
    }

    const std::vector<SoundAsset> sounds = SoundAssets();
    const std::vector<PictureAsset> pictures = PictureAssets();
    std::vector<Image> painted(pictures.size());
    std::vector<std::function<void()>> jobs;
    // The longest jobs (the music) first, so the threads finish together.
    for (auto it = sounds.rbegin(); it != sounds.rend(); ++it)
        jobs.push_back([&out, &s = *it] {
            SoundClip clip = s.make();
            bool music = clip.channels == 2;
            WriteOgg((out / s.file).string(), clip, music ? 0.35f : 0.4f, music);
        });
    for (size_t i = 0; i < pictures.size(); ++i) {
        jobs.push_back([&, i] {
            const PictureAsset& p = pictures[i];
            painted[i] = p.make(1);
            const Image& image = painted[i];
            WritePng((out / p.file).string(), image.Width(), image.Height(), p.opaque ? 3 : 4,
                     p.opaque ? ToRgb8(image, uint32_t(i)) : ToRgba8(image));
        });
        if (pictures[i].denser)
            for (int density : DenserVersions)
                jobs.push_back([&, i, density] {
                    const PictureAsset& p = pictures[i];
                    const Image image = p.make(density);
                    WritePng((out / DenserName(p.file, density)).string(), image.Width(), image.Height(), 4,
                             ToRgba8(image));
                });
    }
    if (!RunAll(jobs, verbose))
        return 1;

    try {
        std::vector<NamedPicture> named;
        for (size_t i = 0; i < pictures.size(); ++i)
            named.push_back({pictures[i].file.substr(4), &painted[i]});
        Image sheet = MakeContactSheet(named);
        WritePng((out / "contact_sheet.png").string(), sheet.Width(), sheet.Height(), 3, ToRgb8(sheet, 7));
    } catch (const std::exception& e) {
        std::cerr << "brim_assetgen: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
