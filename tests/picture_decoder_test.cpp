// The decoder against libjpeg's own djpeg, run here on the same machine: the floating-point
// inverse DCT may round differently on another processor, so no stored pixels are trusted.

#include "bank/jpeg_decoder.h"
#include "bank/picture_file.h"
#include "tests/testsupport/jpeg_maker.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <process.h>
#else
#include <sys/wait.h>
#endif

namespace brzdomat {
namespace {

using testing::Chroma;
using testing::Coding;
using testing::ColourModel;
using testing::Content;
using testing::JpegRecipe;
using testing::MakeJpeg;
using testing::TemporaryFolder;
using testing::WriteBytes;

struct Netpbm {
    int Width = 0;
    int Height = 0;
    int Channels = 0;
    std::vector<std::uint8_t> Samples;
};

// Runs a program with its arguments and gives its exit code, -1 if it could not run. No shell
// stands between on Windows: Wine's cmd.exe and Windows' own quote differently.
int RunProgram(const std::vector<std::string>& arguments)
{
#ifdef _WIN32
    std::vector<std::wstring> quoted;
    for (const std::string& argument : arguments) {
        std::u8string utf8 { argument.begin(), argument.end() };
        quoted.push_back(L"\"" + std::filesystem::path(utf8).wstring() + L"\"");
    }
    std::vector<const wchar_t*> pointers;
    for (const std::wstring& argument : quoted)
        pointers.push_back(argument.c_str());
    pointers.push_back(nullptr);
    std::wstring program
        = std::filesystem::path(std::u8string { arguments[0].begin(), arguments[0].end() })
              .wstring();
    return static_cast<int>(::_wspawnv(_P_WAIT, program.c_str(), pointers.data()));
#else
    std::string command;
    for (const std::string& argument : arguments)
        command += "'" + argument + "' ";
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

// Runs djpeg on the file and reads the PPM or PGM it writes.
Netpbm Djpeg(const std::filesystem::path& file, bool quantise)
{
    // djpeg writes to a file rather than a pipe, so that no text mode of any system can touch
    // the bytes.
    std::filesystem::path ppm = file;
    ppm += ".pnm";
    std::vector<std::string> command { DJPEG_PROGRAM, "-dct", "float" };
    if (quantise)
        command.insert(command.end(), { "-colors", std::to_string(QuantisedColours) });
    command.insert(command.end(), { "-pnm", "-outfile", ppm.string(), file.string() });
    // djpeg exits with 2 when it only warned, as for data cut short.
    int status = RunProgram(command);
    if (status != 0 && status != 2)
        throw std::runtime_error("djpeg failed on " + file.string());
    std::ifstream in(ppm, std::ios::binary);
    std::string output { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
    in.close();
    std::filesystem::remove(ppm);

    std::istringstream header(output);
    std::string magic;
    int maximum = 0;
    Netpbm image;
    header >> magic >> image.Width >> image.Height >> maximum;
    header.get();
    image.Channels = magic == "P6" ? 3 : 1;
    if ((magic != "P6" && magic != "P5") || maximum != 255)
        throw std::runtime_error("unexpected djpeg output " + magic);
    auto start = static_cast<std::size_t>(header.tellg());
    image.Samples.assign(output.begin() + static_cast<std::ptrdiff_t>(start), output.end());
    if (image.Samples.size()
        != static_cast<std::size_t>(image.Width) * image.Height * image.Channels)
        throw std::runtime_error("short djpeg output");
    return image;
}

// The first differing pixel of the top-left region of the reference, as text; empty if equal.
std::string CompareRegion(const RgbImage& decoded, const Netpbm& reference,
    int regionWidth = VisibleWidth, int regionHeight = VisibleHeight)
{
    int width = std::min(reference.Width, regionWidth);
    int height = std::min(reference.Height, regionHeight);
    if (decoded.Width != width || decoded.Height != height)
        return "size " + std::to_string(decoded.Width) + "x" + std::to_string(decoded.Height)
            + " instead of " + std::to_string(width) + "x" + std::to_string(height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < 3; ++c) {
                std::uint8_t ours
                    = decoded.Pixels[(static_cast<std::size_t>(y) * width + x) * 3 + c];
                int channel = reference.Channels == 1 ? 0 : c;
                std::uint8_t theirs
                    = reference.Samples[(static_cast<std::size_t>(y) * reference.Width + x)
                            * reference.Channels
                        + channel];
                if (ours != theirs)
                    return "pixel " + std::to_string(x) + "," + std::to_string(y) + " channel "
                        + std::to_string(c) + ": " + std::to_string(ours) + " instead of "
                        + std::to_string(theirs);
            }
        }
    }
    return {};
}

struct ExactCase {
    const char* Name;
    JpegRecipe Recipe;
    ScreenDepth Screen = ScreenDepth::MoreThan8Bits;
};

JpegRecipe Recipe(int width, int height, ColourModel model, Chroma sampling, Coding mode)
{
    return { .Width = width, .Height = height, .Model = model, .Sampling = sampling, .Mode = mode };
}

constexpr auto Colour = ColourModel::Colour;
constexpr auto Grey = ColourModel::Grey;
constexpr auto Baseline = Coding::Baseline;
constexpr auto Progressive = Coding::Progressive;

TEST(PictureDecoder, VisibleRegionEqualsDjpegFloatDecode)
{
    const ExactCase cases[] = {
        { "420 even", Recipe(800, 600, Colour, Chroma::Quarter420, Baseline) },
        { "420 odd", Recipe(803, 611, Colour, Chroma::Quarter420, Baseline) },
        { "422 even", Recipe(802, 500, Colour, Chroma::Half422, Baseline) },
        { "422 odd", Recipe(805, 503, Colour, Chroma::Half422, Baseline) },
        { "444 even", Recipe(640, 480, Colour, Chroma::Full444, Baseline) },
        { "444 odd", Recipe(641, 481, Colour, Chroma::Full444, Baseline) },
        // Just wide enough to be cropped, with the least room beyond the shown columns.
        { "420 narrowest crop", Recipe(433, 470, Colour, Chroma::Quarter420, Baseline) },
        { "444 narrowest crop", Recipe(417, 470, Colour, Chroma::Full444, Baseline) },
        { "422 uncropped", Recipe(425, 460, Colour, Chroma::Half422, Baseline) },
        { "progressive 420 odd", Recipe(1001, 999, Colour, Chroma::Quarter420, Progressive) },
        { "progressive 422 even", Recipe(900, 700, Colour, Chroma::Half422, Progressive) },
        { "progressive 444 odd", Recipe(555, 463, Colour, Chroma::Full444, Progressive) },
        { "a scan for each component",
            Recipe(610, 750, Colour, Chroma::Quarter420, Coding::SequentialScans) },
        { "greyscale", Recipe(700, 500, Grey, Chroma::Full444, Baseline) },
        { "greyscale progressive", Recipe(513, 701, Grey, Chroma::Full444, Progressive) },
        { "smaller than shown", Recipe(200, 151, Colour, Chroma::Quarter420, Baseline) },
        { "exactly shown size", Recipe(401, 457, Colour, Chroma::Quarter420, Baseline) },
        { "one more each way", Recipe(402, 458, Colour, Chroma::Quarter420, Progressive) },
        { "ink", Recipe(600, 500, ColourModel::InvertedCmyk, Chroma::Full444, Baseline) },
        { "rgb", Recipe(450, 470, ColourModel::Rgb, Chroma::Full444, Baseline) },
        { "ycck progressive", Recipe(420, 700, ColourModel::Ycck, Chroma::Full444, Progressive) },
        { "palette screen", Recipe(530, 480, Colour, Chroma::Quarter420, Baseline),
            ScreenDepth::AtMost8Bits },
        { "palette screen progressive", Recipe(450, 300, Colour, Chroma::Half422, Progressive),
            ScreenDepth::AtMost8Bits },
    };
    TemporaryFolder folder;
    for (const ExactCase& entry : cases) {
        SCOPED_TRACE(entry.Name);
        std::vector<std::uint8_t> jpeg = MakeJpeg(entry.Recipe);
        std::filesystem::path file = folder.Path() / "picture.jpg";
        WriteBytes(file, jpeg);
        bool quantised = entry.Recipe.Model == Grey || entry.Screen == ScreenDepth::AtMost8Bits;
        Netpbm reference = Djpeg(file, quantised);
        // The shown region, and an even-sized one: with an even width the last column needs the
        // chroma sample beyond it, which a crop at that column would not have.
        for (auto [width, height] :
            { std::pair { VisibleWidth, VisibleHeight }, std::pair { 400, 456 } }) {
            DecodeOptions options;
            options.Screen = entry.Screen;
            options.Width = width;
            options.Height = height;
            DecodeResult result = DecodeJpeg(jpeg, options);
            ASSERT_EQ(result.Failure, DecodeFailure::None) << result.Detail;
            ASSERT_TRUE(result.Image);
            EXPECT_EQ(CompareRegion(*result.Image, reference, width, height), "")
                << width << "x" << height;
            EXPECT_EQ(result.Warnings, 0);
        }
    }
}

// A region larger than the picture gives the whole picture, decoded as djpeg decodes it.
TEST(PictureDecoder, UnlimitedRegionIsTheWholePicture)
{
    TemporaryFolder folder;
    JpegRecipe recipe = Recipe(345, 211, Colour, Chroma::Quarter420, Baseline);
    std::filesystem::path file = folder.Path() / "whole.jpg";
    WriteBytes(file, MakeJpeg(recipe));
    DecodeOptions options;
    options.Width = 100000;
    options.Height = 100000;
    DecodeResult result = LoadPictureFile(file.string(), options);
    ASSERT_TRUE(result.Image) << result.Detail;
    EXPECT_EQ(CompareRegion(*result.Image, Djpeg(file, false)), "");
}

// A file cut short shows what was decoded: the rows before the cut are those of the whole file,
// the rest is what libjpeg fills in, and no failure is reported.
TEST(PictureDecoder, DataCutShortShowsTheDecodedPart)
{
    struct Cut {
        const char* Name;
        JpegRecipe Recipe;
        double Kept;
    };
    const Cut cuts[] = {
        { "baseline at half", Recipe(401, 457, Colour, Chroma::Quarter420, Baseline), 0.5 },
        { "larger baseline cut within the shown rows",
            Recipe(800, 600, Colour, Chroma::Half422, Baseline), 0.6 },
        { "progressive at half", Recipe(500, 500, Colour, Chroma::Quarter420, Progressive), 0.5 },
        // Rows below the kept coefficients raise warnings that are not counted, but the end of
        // the data there still counts.
        { "progressive cut below the shown rows",
            Recipe(500, 1400, Colour, Chroma::Quarter420, Progressive), 0.5 },
        { "greyscale at a third", Recipe(401, 457, Grey, Chroma::Full444, Baseline), 0.33 },
    };
    for (const Cut& cut : cuts) {
        SCOPED_TRACE(cut.Name);
        std::vector<std::uint8_t> whole = MakeJpeg(cut.Recipe);
        auto kept = static_cast<std::size_t>(static_cast<double>(whole.size()) * cut.Kept);
        DecodeResult full = DecodeJpeg(whole);
        DecodeResult shortened = DecodeJpeg(testing::CutAfter(whole, kept));
        ASSERT_EQ(shortened.Failure, DecodeFailure::None) << shortened.Detail;
        ASSERT_TRUE(shortened.Image && full.Image);
        EXPECT_GT(shortened.Warnings, 0);
        EXPECT_TRUE(shortened.CutShort);
        EXPECT_EQ(shortened.Image->Width, full.Image->Width);
        EXPECT_EQ(shortened.Image->Height, full.Image->Height);
        if (cut.Recipe.Mode == Baseline) {
            // The first rows are complete long before the cut.
            std::size_t firstRows = static_cast<std::size_t>(full.Image->Width) * 3 * 16;
            EXPECT_TRUE(std::equal(full.Image->Pixels.begin(),
                full.Image->Pixels.begin() + firstRows, shortened.Image->Pixels.begin()));
        }
        EXPECT_NE(full.Image->Pixels, shortened.Image->Pixels);
    }
}

// Progressive data cut short leave coefficients unknown, which block smoothing estimates from the
// neighbouring blocks, two block rows above and below; djpeg smooths too. Cut at several points,
// the last scan ends within the shown rows, just below them and far below them.
TEST(PictureDecoder, ProgressiveDataCutShortEqualsDjpegSmoothing)
{
    const JpegRecipe recipes[] = {
        Recipe(720, 1100, Colour, Chroma::Quarter420, Progressive),
        Recipe(430, 900, Colour, Chroma::Full444, Progressive),
        Recipe(520, 800, Grey, Chroma::Full444, Progressive),
    };
    TemporaryFolder folder;
    std::filesystem::path file = folder.Path() / "cut.jpg";
    for (const JpegRecipe& recipe : recipes) {
        std::vector<std::uint8_t> whole = MakeJpeg(recipe);
        for (double kept : { 0.08, 0.2, 0.35, 0.5, 0.62, 0.75, 0.9 }) {
            SCOPED_TRACE(std::to_string(recipe.Width) + "x" + std::to_string(recipe.Height)
                + " kept " + std::to_string(kept));
            std::vector<std::uint8_t> cut = testing::CutAfter(
                whole, static_cast<std::size_t>(static_cast<double>(whole.size()) * kept));
            WriteBytes(file, cut);
            DecodeResult result = DecodeJpeg(cut);
            ASSERT_EQ(result.Failure, DecodeFailure::None) << result.Detail;
            EXPECT_EQ(CompareRegion(*result.Image, Djpeg(file, recipe.Model == Grey)), "");
        }
    }
}

std::vector<std::uint8_t> Bytes(std::string_view text)
{
    return { text.begin(), text.end() };
}

// Every way a file can fail to be a picture, with the reason the decoder gives. The reasons are
// not shown to the user; they show here that each file failed for the right cause and not for
// another that happens to hide it.
TEST(PictureDecoder, DamagedAndHostileDataFailForTheirReason)
{
    JpegRecipe small = Recipe(64, 48, Colour, Chroma::Quarter420, Baseline);
    std::vector<std::uint8_t> good = MakeJpeg(small);

    std::vector<std::uint8_t> noFrame = good;
    noFrame[testing::FindMarker(good, 0xC0) + 1] = 0xCF; // a frame type no decoder knows

    std::vector<std::uint8_t> badTableLength = good;
    std::size_t table = testing::FindMarker(good, 0xC4);
    badTableLength[table + 2] = 0x00;
    badTableLength[table + 3] = 0x01;

    // Without Huffman tables libjpeg falls back on the standard ones, but without quantisation
    // tables nothing can be decoded.
    std::vector<std::uint8_t> noQuantisationTables = good;
    for (std::size_t at;
         (at = testing::FindMarker(noQuantisationTables, 0xDB)) != std::string::npos;) {
        std::size_t length = static_cast<std::size_t>(noQuantisationTables[at + 2]) << 8
            | noQuantisationTables[at + 3];
        auto begin = noQuantisationTables.begin() + static_cast<std::ptrdiff_t>(at);
        noQuantisationTables.erase(begin, begin + static_cast<std::ptrdiff_t>(2 + length));
    }

    // The header is sound; the second scan asks for a spectral range that runs backwards,
    // which libjpeg finds only while decoding the data.
    std::vector<std::uint8_t> badSecondScan
        = MakeJpeg(Recipe(64, 48, Colour, Chroma::Full444, Progressive));
    {
        std::size_t first = testing::FindMarker(badSecondScan, 0xDA);
        std::size_t second
            = first + 2 + testing::FindMarker(std::span { badSecondScan }.subspan(first + 2), 0xDA);
        std::size_t components = badSecondScan[second + 4];
        std::size_t spectral = second + 5 + 2 * components;
        badSecondScan[spectral] = 5;
        badSecondScan[spectral + 1] = 2;
    }

    JpegRecipe progressiveHuge = Recipe(64, 48, Colour, Chroma::Full444, Progressive);
    JpegRecipe manyScans = Recipe(32, 32, Colour, Chroma::Full444, Progressive);
    manyScans.RefinementScans = 10;
    JpegRecipe greyManyScans = Recipe(16, 16, Grey, Chroma::Full444, Progressive);
    greyManyScans.RefinementScans = 1;

    JpegRecipe restarts = Recipe(401, 457, Colour, Chroma::Full444, Baseline);
    restarts.RestartInterval = 1;

    struct Bad {
        const char* Name;
        std::vector<std::uint8_t> Data;
        DecodeFailure Expected;
    };
    const Bad corpus[] = {
        { "empty", {}, DecodeFailure::Empty },
        { "text", Bytes("Otázka 7: Jak se zachováte na křižovatce?\n"),
            DecodeFailure::NotDecodable },
        { "png", testing::TinyPng(), DecodeFailure::NotDecodable },
        { "start of image only", { 0xFF, 0xD8 }, DecodeFailure::NotDecodable },
        { "header cut in the tables", testing::CutAfter(good, 100), DecodeFailure::NotDecodable },
        { "header cut before the scan", testing::CutAfter(good, testing::FindMarker(good, 0xDA)),
            DecodeFailure::NotDecodable },
        { "unknown frame type", noFrame, DecodeFailure::NotDecodable },
        { "table length too short", badTableLength, DecodeFailure::NotDecodable },
        { "missing quantisation tables", noQuantisationTables, DecodeFailure::NotDecodable },
        { "fatal error in the second scan", badSecondScan, DecodeFailure::NotDecodable },
        { "zero width", testing::WithClaimedSize(good, 0, 48), DecodeFailure::NotDecodable },
        // libjpeg decodes it only unconverted; djpeg refuses it in every output format too.
        { "two components",
            MakeJpeg(Recipe(64, 48, ColourModel::TwoComponents, Chroma::Full444, Baseline)),
            DecodeFailure::NotDecodable },
        { "progressive claims 65500 x 65500",
            testing::WithClaimedSize(MakeJpeg(progressiveHuge), 65500, 65500),
            DecodeFailure::DecoderMemoryLimit },
        { "progressive 420 claims 65500 x 65500",
            testing::WithClaimedSize(
                MakeJpeg(Recipe(64, 48, Colour, Chroma::Quarter420, Progressive)), 65500, 65500),
            DecodeFailure::DecoderMemoryLimit },
        { "thousands of scans", MakeJpeg(manyScans), DecodeFailure::TooManyScans },
        { "greyscale with over a hundred scans", MakeJpeg(greyManyScans),
            DecodeFailure::TooManyScans },
        { "a restart marker out of place at every block",
            testing::WithRestartMarkersShuffled(MakeJpeg(restarts)),
            DecodeFailure::TooManyWarnings },
    };
    for (const Bad& bad : corpus) {
        SCOPED_TRACE(bad.Name);
        DecodeResult result = DecodeJpeg(bad.Data);
        EXPECT_EQ(result.Failure, bad.Expected) << result.Detail;
        EXPECT_FALSE(result.Image);
    }
}

// A baseline header may claim any size: only the shown rows are decoded, in bounded memory
// and time, and libjpeg fills in what the short data lack.
TEST(PictureDecoder, HugeBaselineClaimShowsItsVisiblePart)
{
    for (Chroma sampling : { Chroma::Full444, Chroma::Quarter420 }) {
        std::vector<std::uint8_t> jpeg = testing::WithClaimedSize(
            MakeJpeg(Recipe(64, 48, Colour, sampling, Baseline)), 65500, 65500);
        DecodeResult result = DecodeJpeg(jpeg);
        ASSERT_EQ(result.Failure, DecodeFailure::None) << result.Detail;
        EXPECT_EQ(result.Image->Width, VisibleWidth);
        EXPECT_EQ(result.Image->Height, VisibleHeight);
    }
}

// Each limit stops exactly what it is meant to stop and lets a genuine picture through.
TEST(PictureDecoder, LimitsStopOnlyWhatExceedsThem)
{
    JpegRecipe progressive = Recipe(1200, 900, Colour, Chroma::Quarter420, Progressive);
    std::vector<std::uint8_t> tenScans = MakeJpeg(progressive);
    ASSERT_EQ(testing::ScanCount(progressive), 10);

    JpegRecipe restarts = Recipe(200, 200, Colour, Chroma::Full444, Baseline);
    restarts.RestartInterval = 1;
    std::vector<std::uint8_t> shuffled = testing::WithRestartMarkersShuffled(MakeJpeg(restarts));

    struct Limit {
        const char* Name;
        const std::vector<std::uint8_t>* Data;
        DecodeLimits Limits;
        DecodeFailure Expected;
        ScreenDepth Screen = ScreenDepth::MoreThan8Bits;
    };
    DecodeLimits defaults;
    DecodeLimits nineScans;
    nineScans.MaxScans = 9;
    DecodeLimits tenScansAllowed;
    tenScansAllowed.MaxScans = 10;
    DecodeLimits littleMemory;
    littleMemory.MaxDecoderMemory = 1L << 20;
    DecodeLimits fewWarnings;
    fewWarnings.MaxWarnings = 10;
    DecodeLimits moreWork;
    moreWork.MaxDecodingWork *= 10;

    // Frames of 50 megapixels: a progressive CMYK one as a camera's photograph would be coded,
    // and a 7000 x 7000 one in 98 legal scans.
    std::vector<std::uint8_t> cmykPhotograph = testing::WithClaimedSize(
        MakeJpeg(Recipe(64, 48, ColourModel::InvertedCmyk, Chroma::Full444, Progressive)), 8660,
        5773);
    JpegRecipe bands = Recipe(64, 48, Colour, Chroma::Full444, Progressive);
    bands.SpectralBands = 32;
    ASSERT_EQ(testing::ScanCount(bands), 98);
    std::vector<std::uint8_t> manyBands = testing::WithClaimedSize(MakeJpeg(bands), 7000, 7000);

    const Limit limits[] = {
        { "ten scans, default", &tenScans, defaults, DecodeFailure::None },
        { "ten scans, ten allowed", &tenScans, tenScansAllowed, DecodeFailure::None },
        { "ten scans, nine allowed", &tenScans, nineScans, DecodeFailure::TooManyScans },
        { "whole-image buffer over the memory limit", &tenScans, littleMemory,
            DecodeFailure::DecoderMemoryLimit },
        // A palette is chosen from the whole frame, which has an allowance of its own.
        { "whole frame for a palette screen", &tenScans, littleMemory, DecodeFailure::None,
            ScreenDepth::AtMost8Bits },
        { "hundreds of warnings, default", &shuffled, defaults, DecodeFailure::None },
        { "hundreds of warnings, ten allowed", &shuffled, fewWarnings,
            DecodeFailure::TooManyWarnings },
        { "50-megapixel CMYK photograph", &cmykPhotograph, defaults, DecodeFailure::None },
        { "98 scans over 49 megapixels", &manyBands, defaults, DecodeFailure::TooMuchWork },
        { "98 scans over 49 megapixels, ten times the work allowed", &manyBands, moreWork,
            DecodeFailure::None },
    };
    for (const Limit& limit : limits) {
        SCOPED_TRACE(limit.Name);
        DecodeOptions options;
        options.Limits = limit.Limits;
        options.Screen = limit.Screen;
        DecodeResult result = DecodeJpeg(*limit.Data, options);
        EXPECT_EQ(result.Failure, limit.Expected) << result.Detail;
        EXPECT_EQ(result.Image != nullptr, limit.Expected == DecodeFailure::None);
    }
}

} // namespace
} // namespace brzdomat
