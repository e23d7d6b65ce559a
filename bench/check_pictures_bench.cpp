// The picture checker on a full set of 800 question cards against the plainest way to look at
// the same files: read each and decode it with libjpeg, one after the other.

#include "bank/jpeg_decoder.h"
#include "bank/question_picture.h"
#include "bench/bench_compare.h"
#include "bench/plain_decode.h"
#include "tests/testsupport/jpeg_maker.h"
#include "tools/check_pictures/picture_check.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <sstream>

namespace {

using namespace brzdomat;

// A start directory whose img folder holds 800 cards of the picture area's size, made once.
const std::string& CardSet()
{
    static testing::TemporaryFolder folder;
    static const std::string start = [] {
        testing::JpegRecipe recipe;
        recipe.Width = VisibleWidth;
        recipe.Height = VisibleHeight;
        recipe.Drawing = testing::Content::Card;
        recipe.Quality = 75; // about 30 KB, like the cards of a question set
        const auto card = testing::MakeJpeg(recipe);
        std::filesystem::create_directory(folder.Path() / PictureFolderName);
        for (int test = 1; test <= TestCount; ++test)
            for (int question = 1; question <= QuestionsPerTest; ++question)
                testing::WriteBytes(
                    QuestionPicturePath(folder.Path().string(), { test, question }), card);
        return folder.Path().string();
    }();
    return start;
}

void BM_PlainDecodeOfCardSet(benchmark::State& state)
{
    const std::string& start = CardSet();
    for (auto _ : state) {
        std::size_t pixels = 0;
        for (int test = 1; test <= TestCount; ++test) {
            for (int question = 1; question <= QuestionsPerTest; ++question) {
                std::ifstream file(
                    QuestionPicturePath(start, { test, question }), std::ios::binary);
                const std::vector<std::uint8_t> bytes { std::istreambuf_iterator<char>(file),
                    std::istreambuf_iterator<char>() };
                pixels += bench::PlainFullDecode(bytes);
            }
        }
        benchmark::DoNotOptimize(pixels);
    }
}

void BM_CheckCardSet(benchmark::State& state)
{
    const std::string& start = CardSet();
    for (auto _ : state) {
        std::ostringstream out;
        std::ostringstream errors;
        if (CheckPictureFolder(start, out, errors) != FolderCheck::AllFine) {
            state.SkipWithError(("not all fine: " + out.str() + errors.str()).c_str());
            break;
        }
    }
}

// The checker shares the pictures among the cores, so only the time on the clock compares.
BENCHMARK(BM_PlainDecodeOfCardSet)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CheckCardSet)->Unit(benchmark::kMillisecond)->UseRealTime();

const bool Compared = bench::CompareWithBaseline(
    "BM_CheckCardSet/real_time", "BM_PlainDecodeOfCardSet/real_time", 1.10);

} // namespace
