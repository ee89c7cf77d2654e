// Time for the asset generator (<build>/bin/brim_assetgen) to paint and compose every picture
// and sound into an empty folder, as the build does whenever the generator changes. Reports
// wall time and, as "cpu_s", the processor time of the generator over all its threads.
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/storage/paths.h"

namespace fs = std::filesystem;

namespace {

double ChildrenCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

void BM_GenerateEveryAsset(benchmark::State& state)
{
    const char* env = std::getenv("BRIM_BIN_DIR");
    const fs::path generator = (env ? fs::path(env) : fs::path(ExecutableFolder()) / ".." / "bin") / "brim_assetgen";
    if (!fs::exists(generator)) {
        state.SkipWithError("brim_assetgen not built");
        return;
    }
    double cpu = 0;
    for (auto _ : state) {
        std::string pattern = (fs::temp_directory_path() / "brim_assets_XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            state.SkipWithError("no temporary folder");
            return;
        }
        double before = ChildrenCpuSeconds();
        int status = std::system(("\"" + generator.string() + "\" \"" + pattern + "\"").c_str());
        cpu += ChildrenCpuSeconds() - before;
        fs::remove_all(pattern);
        if (status != 0) {
            state.SkipWithError("brim_assetgen failed");
            return;
        }
    }
    state.counters["cpu_s"] = benchmark::Counter(cpu, benchmark::Counter::kAvgIterations);
}

} // namespace

BENCHMARK(BM_GenerateEveryAsset)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(2);
