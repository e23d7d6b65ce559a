#pragma once

// Makes JPEG files for tests and benchmarks with libjpeg's encoder, spoils them in the ways that
// damaged or hostile picture files are spoilt, and reads back what a file holds. Nothing here
// comes from a real picture set: the pixels are drawn from a formula, so every run makes the
// same bytes.

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace brzdomat::testing {

enum class Chroma { Full444, Half422, Quarter420 };
enum class ColourModel { Colour, Grey, InvertedCmyk };
enum class Coding { Baseline, Progressive };
enum class Content { Photo, Card, Flat };

struct JpegRecipe {
    int Width = 64;
    int Height = 48;
    ColourModel Model = ColourModel::Colour;
    Chroma Sampling = Chroma::Quarter420;
    Coding Mode = Coding::Baseline;
    Content Drawing = Content::Photo;
    int Quality = 85;
    // The one colour of a flat picture, red, green, blue.
    std::array<std::uint8_t, 3> FlatColour { 128, 128, 128 };
    // Restart markers every this many MCUs; 0 for none.
    int RestartInterval = 0;
    // Above zero: a legal but extreme progression in which every AC coefficient of every
    // component has a scan of its own, refined bit by bit over this many further scans.
    int RefinementScans = 0;
};

// The pixels the maker encodes: RGB, grey or CMYK by the model, rows packed.
std::vector<std::uint8_t> DrawPixels(const JpegRecipe&);

std::vector<std::uint8_t> MakeJpeg(const JpegRecipe&);

// What libjpeg reads from a file: the facts of its header and its pixels decoded as RGB. Ok is
// false for a file that libjpeg cannot decode.
struct JpegFacts {
    bool Ok = false;
    int Width = 0;
    int Height = 0;
    int Components = 0;
    bool YCbCr = false;
    bool Progressive = false;
    bool Jfif = false;
    std::vector<std::uint8_t> Pixels;
};
JpegFacts InspectJpeg(std::span<const std::uint8_t>);

// The number of scans a progressive file made from the recipe has.
int ScanCount(const JpegRecipe&);

// Rewrites the frame header so that it claims another size; the data stay as they are.
std::vector<std::uint8_t> WithClaimedSize(std::vector<std::uint8_t> jpeg, int width, int height);

// The file cut after this many bytes.
std::vector<std::uint8_t> CutAfter(std::span<const std::uint8_t> jpeg, std::size_t length);

// Every restart marker renumbered out of sequence, so that the decoder warns and resynchronises
// at each one.
std::vector<std::uint8_t> WithRestartMarkersShuffled(std::vector<std::uint8_t> jpeg);

// The offset of the first marker with this code (0xC0 for SOF0 ...), or npos.
std::size_t FindMarker(std::span<const std::uint8_t> jpeg, std::uint8_t code);

// A genuine 1 x 1 PNG file.
std::vector<std::uint8_t> TinyPng();

void WriteBytes(const std::filesystem::path&, std::span<const std::uint8_t>);

// A new empty folder below the system's temporary folder, named prefix + a random number.
std::filesystem::path MakeUniqueFolder(std::string_view prefix);

// A fresh empty folder below the system's temporary folder, removed with the object.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    const std::filesystem::path& Path() const { return m_Path; }

private:
    std::filesystem::path m_Path;
};

} // namespace brzdomat::testing
