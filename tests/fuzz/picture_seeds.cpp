// Writes a small seed corpus for the picture fuzzer: one genuine file of every kind the decoder
// takes apart differently, and a few spoilt ones, all small so that the fuzzer runs fast.

#include "tests/testsupport/jpeg_maker.h"

#include <cstdio>
#include <exception>
#include <string>

using namespace brzdomat::testing;

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    try {
        std::filesystem::path folder = argv[1];
        std::filesystem::create_directories(folder);
        std::vector<std::vector<std::uint8_t>> seeds;
        auto recipe = [](int width, int height, ColourModel model, Chroma sampling, Coding mode) {
            return JpegRecipe { .Width = width,
                .Height = height,
                .Model = model,
                .Sampling = sampling,
                .Mode = mode,
                .Quality = 50 };
        };
        for (Coding mode : { Coding::Baseline, Coding::Progressive }) {
            for (Chroma sampling : { Chroma::Full444, Chroma::Half422, Chroma::Quarter420 })
                seeds.push_back(MakeJpeg(recipe(41, 23, ColourModel::Colour, sampling, mode)));
            seeds.push_back(MakeJpeg(recipe(17, 30, ColourModel::Grey, Chroma::Full444, mode)));
            seeds.push_back(
                MakeJpeg(recipe(16, 16, ColourModel::InvertedCmyk, Chroma::Full444, mode)));
        }
        JpegRecipe restarts
            = recipe(48, 16, ColourModel::Colour, Chroma::Quarter420, Coding::Baseline);
        restarts.RestartInterval = 1;
        seeds.push_back(MakeJpeg(restarts));
        seeds.push_back(WithRestartMarkersShuffled(MakeJpeg(restarts)));
        JpegRecipe refined = recipe(8, 8, ColourModel::Grey, Chroma::Full444, Coding::Progressive);
        refined.RefinementScans = 2;
        seeds.push_back(MakeJpeg(refined));
        for (ColourModel model :
            { ColourModel::Rgb, ColourModel::Ycck, ColourModel::TwoComponents })
            seeds.push_back(MakeJpeg(recipe(16, 16, model, Chroma::Full444, Coding::Progressive)));
        JpegRecipe bands
            = recipe(24, 16, ColourModel::Colour, Chroma::Half422, Coding::Progressive);
        bands.SpectralBands = 5;
        seeds.push_back(MakeJpeg(bands));
        seeds.push_back(WithScanRepeated(MakeJpeg(bands), -1, 3));
        // Taller than the rows that are shown, so that the coefficients of the rows below are
        // dropped and their data skipped.
        seeds.push_back(WithClaimedSize(seeds[5], 600, 1300));
        seeds.push_back(WithClaimedSize(seeds[6], 300, 900));
        std::vector<std::uint8_t> baseline = seeds.front();
        seeds.push_back(CutAfter(baseline, baseline.size() / 2));
        seeds.push_back(WithClaimedSize(baseline, 65500, 65500));
        seeds.push_back(WithClaimedSize(seeds[3], 4000, 3000));

        int number = 0;
        for (const auto& seed : seeds)
            WriteBytes(folder / ("seed_" + std::to_string(++number) + ".jpg"), seed);
        std::printf("%d seeds in %s\n", number, folder.string().c_str());
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
