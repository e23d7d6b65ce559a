#include "tools/check_pictures/picture_check.h"

#include "bank/jpeg_decoder.h"
#include "bank/picture_file.h"
#include "bank/question_picture.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <thread>
#include <unordered_map>
#include <vector>

namespace brzdomat {

namespace {

namespace fs = std::filesystem;

constexpr int PictureCount = TestCount * QuestionsPerTest;
// Two workers halve the time on the usual school computer; more would multiply the worst-case
// memory, up to the program's limits for one picture per worker, for little gain.
constexpr unsigned MaxWorkers = 2;

QuestionRef QuestionOf(int index)
{
    return { index / QuestionsPerTest + 1, index % QuestionsPerTest + 1 };
}

std::size_t IndexOf(PictureFinding finding)
{
    return static_cast<std::size_t>(finding);
}

struct SummaryLabel {
    const char* One;
    const char* Many;
};

// Indexed by PictureFinding; the words follow a count in the summary line.
constexpr std::array<SummaryLabel, PictureFindingCount> SummaryLabels { {
    { "missing", "missing" },
    { "not readable", "not readable" },
    { "folder", "folders" },
    { "special file", "special files" },
    { "empty", "empty" },
    { "not JPEG", "not JPEG" },
    { "damaged", "damaged" },
    { "over a limit", "over a limit" },
    { "out of memory", "out of memory" },
    { "cut short", "cut short" },
    { "with damaged data", "with damaged data" },
    { "larger than the picture area", "larger than the picture area" },
    { "smaller than the picture area", "smaller than the picture area" },
    { "greyscale", "greyscale" },
    { "fine", "fine" },
} };

std::string Mebibytes(long long bytes)
{
    return std::to_string(bytes >> 20) + " MiB";
}

std::string LimitText(DecodeFailure failure)
{
    const DecodeLimits limits;
    switch (failure) {
    case DecodeFailure::FileTooLarge:
        return "over the limit of " + Mebibytes(static_cast<long long>(limits.MaxFileBytes))
            + " per file";
    case DecodeFailure::DecoderMemoryLimit:
        return "over the limit of " + Mebibytes(limits.MaxDecoderMemory) + " of decoder memory";
    case DecodeFailure::TooManyScans:
        return "over the limit of " + std::to_string(limits.MaxScans) + " scans";
    case DecodeFailure::TooMuchWork:
        return "over the limit of decoding work: too many scans for the size of the picture";
    default:
        return "over the limit of " + std::to_string(limits.MaxWarnings)
            + " warnings of damaged data";
    }
}

std::string Warnings(int count)
{
    return std::to_string(count) + (count == 1 ? " warning" : " warnings");
}

// libjpeg's first test of any input: a JPEG file starts with the marker SOI.
bool StartsLikeJpeg(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    char start[2] {};
    return file.read(start, 2) && static_cast<unsigned char>(start[0]) == 0xFF
        && static_cast<unsigned char>(start[1]) == 0xD8;
}

// The loader says only that the file could not be read; what stands at the path says why.
PictureVerdict NotRead(
    const std::string& path, const std::string& detail, std::string_view otherCaseName)
{
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    switch (status.type()) {
    case fs::file_type::not_found:
        if (otherCaseName.empty())
            return { PictureFinding::Missing, "missing" };
        return { PictureFinding::Missing,
            "missing; there is \"" + std::string(otherCaseName)
                + "\", but the program asks for the name as written, in lower case" };
    case fs::file_type::directory:
        return { PictureFinding::Folder, "a folder, not a picture file" };
    case fs::file_type::regular:
    case fs::file_type::none:
    case fs::file_type::unknown:
        return { PictureFinding::NotReadable, "not readable: " + detail };
    default:
        return { PictureFinding::NotRegularFile, "not a regular file (a device, pipe or socket)" };
    }
}

void Add(PictureVerdict& verdict, PictureFinding finding, const std::string& text)
{
    if (verdict.Text.empty())
        verdict.Finding = finding;
    else
        verdict.Text += "; ";
    verdict.Text += text;
}

std::string AreaText()
{
    return std::to_string(VisibleWidth) + " x " + std::to_string(VisibleHeight);
}

std::string LowerCase(std::string text)
{
    for (char& each : text)
        if (each >= 'A' && each <= 'Z')
            each = static_cast<char>(each - 'A' + 'a');
    return text;
}

} // namespace

PictureVerdict CheckPicture(const std::string& path, std::string_view otherCaseName)
{
    // The program's screens have more than 8 bits per pixel; greyscale is quantised regardless.
    const DecodeResult loaded = LoadPictureFile(path);
    switch (loaded.Failure) {
    case DecodeFailure::None:
        break;
    case DecodeFailure::FileNotReadable:
        return NotRead(path, loaded.Detail, otherCaseName);
    case DecodeFailure::Empty:
        return { PictureFinding::Empty, "empty" };
    case DecodeFailure::NotDecodable:
        if (!StartsLikeJpeg(path))
            return { PictureFinding::NotJpeg, "not a JPEG file" };
        return { PictureFinding::Damaged, "damaged: " + loaded.Detail };
    case DecodeFailure::OutOfMemory:
        return { PictureFinding::OutOfMemory, "not enough memory to load it" };
    default:
        return { PictureFinding::OverLimit, LimitText(loaded.Failure) };
    }

    PictureVerdict verdict;
    verdict.Shown = true;
    if (loaded.CutShort)
        Add(verdict, PictureFinding::CutShort,
            "cut short, shown as far as its data go (" + Warnings(loaded.Warnings) + ")");
    else if (loaded.Warnings > 0)
        Add(verdict, PictureFinding::FlawedData,
            "damaged data, shown with flaws (" + Warnings(loaded.Warnings) + ")");
    const std::string size
        = std::to_string(loaded.SourceWidth) + " x " + std::to_string(loaded.SourceHeight);
    if (loaded.SourceWidth > VisibleWidth || loaded.SourceHeight > VisibleHeight)
        Add(verdict, PictureFinding::Larger,
            size + " pixels, larger than the picture area of " + AreaText()
                + ": only its top-left part is shown");
    else if (loaded.SourceWidth < VisibleWidth || loaded.SourceHeight < VisibleHeight)
        Add(verdict, PictureFinding::Smaller,
            size + " pixels, smaller than the picture area of " + AreaText() + ": white margins");
    if (loaded.Greyscale)
        Add(verdict, PictureFinding::Greyscale, "greyscale, shown in 236 colours");
    return verdict;
}

FolderCheck CheckPictureFolder(
    const std::string& startDirectory, std::ostream& out, std::ostream& errors)
{
    const fs::path folder = fs::path(QuestionPicturePath(startDirectory, {})).parent_path();
    std::unordered_map<std::string, int> indexByName;
    for (int index = 0; index < PictureCount; ++index)
        indexByName.emplace(QuestionPictureName(QuestionOf(index)), index);

    // The folder is listed twice, never held whole: once for names in another letter case, once
    // for the notes. Only one such name per picture is kept.
    std::vector<std::string> otherCaseNames(PictureCount);
    std::error_code error;
    fs::directory_iterator listing(folder, error);
    if (error) {
        errors << "brzdomat-check-pictures: cannot read the picture folder " << folder.string()
               << ": " << error.message() << "\n";
        return FolderCheck::FolderNotReadable;
    }
    for (; listing != fs::directory_iterator(); listing.increment(error)) {
        const std::string name = listing->path().filename().string();
        if (indexByName.contains(name))
            continue;
        const auto found = indexByName.find(LowerCase(name));
        if (found != indexByName.end() && otherCaseNames[found->second].empty())
            otherCaseNames[found->second] = name;
    }

    // Each picture costs about a millisecond of decoding, so the cores share them. Every worker
    // holds one picture at a time.
    std::vector<PictureVerdict> verdicts(PictureCount);
    std::atomic<int> next = 0;
    const auto work = [&] {
        for (int index = next++; index < PictureCount; index = next++)
            verdicts[index] = CheckPicture(
                QuestionPicturePath(startDirectory, QuestionOf(index)), otherCaseNames[index]);
    };
    {
        std::vector<std::jthread> workers;
        for (unsigned count = std::clamp(std::thread::hardware_concurrency(), 1u, MaxWorkers);
             count > 1; --count)
            workers.emplace_back(work);
        work();
    }

    std::array<int, PictureFindingCount> counts {};
    for (int index = 0; index < PictureCount; ++index) {
        const PictureVerdict& verdict = verdicts[index];
        ++counts[IndexOf(verdict.Finding)];
        if (verdict.Finding != PictureFinding::Fine)
            out << QuestionPicturePath(startDirectory, QuestionOf(index)) << ": " << verdict.Text
                << "\n";
        // A name in another letter case is told on the line of a missing picture, else noted.
        if (verdict.Finding != PictureFinding::Missing)
            otherCaseNames[index].clear();
    }

    for (fs::directory_iterator again(folder, error); !error && again != fs::directory_iterator();
         again.increment(error)) {
        const std::string name = again->path().filename().string();
        if (indexByName.contains(name))
            continue;
        const auto found = indexByName.find(LowerCase(name));
        const bool named = found != indexByName.end() && otherCaseNames[found->second] == name;
        if (!named)
            out << again->path().string() << ": note: the program never reads this file\n";
    }

    out << PictureCount << " pictures: " << counts[IndexOf(PictureFinding::Fine)] << " fine";
    for (std::size_t finding = 0; finding + 1 < PictureFindingCount; ++finding) {
        if (counts[finding] > 0)
            out << ", " << counts[finding] << " "
                << (counts[finding] == 1 ? SummaryLabels[finding].One
                                         : SummaryLabels[finding].Many);
    }
    out << "\n";
    return counts[IndexOf(PictureFinding::Fine)] == PictureCount ? FolderCheck::AllFine
                                                                 : FolderCheck::Findings;
}

} // namespace brzdomat
