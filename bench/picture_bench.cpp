// Loading question pictures against a plain libjpeg decode of the same bytes, and the memory
// that loading a large photograph takes.

#include "bank/jpeg_decoder.h"
#include "bank/picture_file.h"
#include "bench/bench_compare.h"
#include "bench/plain_decode.h"
#include "tests/testsupport/jpeg_maker.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <malloc.h>
#include <stdexcept>
#include <string>

namespace {

using namespace brzdomat;
using testing::Chroma;
using testing::Coding;
using testing::Content;
using testing::JpegRecipe;

struct Sample {
    std::string Path;
    std::vector<std::uint8_t> Bytes;
};

enum SampleKind { Card, BigBaseline, BigProgressive, BigProgressiveFullChroma, BigProgressiveCmyk };

// The files are made once per process; the large ones take a few seconds to encode.
const Sample& SampleOf(SampleKind kind)
{
    static testing::TemporaryFolder folder;
    static std::map<SampleKind, Sample> samples;
    auto found = samples.find(kind);
    if (found != samples.end())
        return found->second;
    JpegRecipe recipe;
    recipe.Sampling = Chroma::Quarter420;
    recipe.Quality = 85;
    if (kind == Card) {
        recipe.Width = VisibleWidth;
        recipe.Height = VisibleHeight;
        recipe.Drawing = Content::Card;
        recipe.Quality = 75; // about 30 KB, like the cards of a question set
    } else {
        recipe.Width = 6000;
        recipe.Height = 8000;
        recipe.Drawing = Content::Photo;
        recipe.Mode = kind == BigBaseline ? Coding::Baseline : Coding::Progressive;
        if (kind == BigProgressiveFullChroma || kind == BigProgressiveCmyk)
            recipe.Sampling = Chroma::Full444;
        if (kind == BigProgressiveCmyk)
            recipe.Model = testing::ColourModel::InvertedCmyk;
    }
    Sample sample;
    sample.Bytes = testing::MakeJpeg(recipe);
    sample.Path = (folder.Path() / ("sample" + std::to_string(kind) + ".jpg")).string();
    testing::WriteBytes(sample.Path, sample.Bytes);
    return samples.emplace(kind, std::move(sample)).first->second;
}

void BM_PlainFullDecode(benchmark::State& state, SampleKind kind)
{
    const Sample& sample = SampleOf(kind);
    for (auto _ : state)
        benchmark::DoNotOptimize(bench::PlainFullDecode(sample.Bytes));
    state.counters["file_KB"] = static_cast<double>(sample.Bytes.size()) / 1024;
}

void BM_LoadPicture(benchmark::State& state, SampleKind kind)
{
    const Sample& sample = SampleOf(kind);
    for (auto _ : state) {
        DecodeResult result = LoadPictureFile(sample.Path);
        if (!result.Image) {
            state.SkipWithError(("load failed: " + result.Detail).c_str());
            break;
        }
        benchmark::DoNotOptimize(result.Image->Pixels.data());
    }
}

long StatusKilobytes(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0)
            return std::stol(line.substr(std::string { field }.size()));
    }
    return -1;
}

// The peak resident memory above the process as it was just before the load. Writing 5 to
// clear_refs resets the kernel's high-water mark to the present size.
void BM_PeakMemoryOfLoad(benchmark::State& state, SampleKind kind)
{
    const Sample& sample = SampleOf(kind);
    double aboveIdleMb = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ::malloc_trim(0);
        std::ofstream("/proc/self/clear_refs") << "5";
        long idle = StatusKilobytes("VmRSS:");
        state.ResumeTiming();
        DecodeResult result = LoadPictureFile(sample.Path);
        state.PauseTiming();
        long peak = StatusKilobytes("VmHWM:");
        if (!result.Image || idle < 0 || peak < 0) {
            state.SkipWithError("no measurement");
            break;
        }
        aboveIdleMb = static_cast<double>(peak - idle) / 1024;
        state.ResumeTiming();
    }
    state.counters["peak_MB_above_idle"] = aboveIdleMb;
    state.counters["file_MB"] = static_cast<double>(sample.Bytes.size()) / (1 << 20);
}

BENCHMARK_CAPTURE(BM_PlainFullDecode, card, Card)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_LoadPicture, card, Card)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PlainFullDecode, baseline_6000x8000, BigBaseline)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadPicture, baseline_6000x8000, BigBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PlainFullDecode, progressive_6000x8000, BigProgressive)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_LoadPicture, progressive_6000x8000, BigProgressive)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_PeakMemoryOfLoad, baseline_6000x8000, BigBaseline)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(BM_PeakMemoryOfLoad, progressive_6000x8000, BigProgressive)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// The largest coefficient buffers a genuine photograph is likely to need: full colour resolution,
// and four inks.
BENCHMARK_CAPTURE(BM_PeakMemoryOfLoad, progressive444_6000x8000, BigProgressiveFullChroma)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(BM_PeakMemoryOfLoad, progressive_cmyk_6000x8000, BigProgressiveCmyk)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

const bool Compared
    = bench::CompareWithBaseline("BM_LoadPicture/card", "BM_PlainFullDecode/card", 1.10)
    && bench::CompareWithBaseline(
        "BM_LoadPicture/baseline_6000x8000", "BM_PlainFullDecode/baseline_6000x8000", 0.05)
    // Of a progressive file only the shown rows are decoded; the data below them are skipped.
    && bench::CompareWithBaseline("BM_LoadPicture/progressive_6000x8000/iterations:3",
        "BM_PlainFullDecode/progressive_6000x8000/iterations:3", 0.30);

} // namespace
