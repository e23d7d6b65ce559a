#include "tools/check_pictures/picture_check.h"

#include "bank/jpeg_decoder.h"
#include "bank/picture_file.h"
#include "bank/question_picture.h"
#include "tools/common/command_line.h"
#include "tools/common/ordered_parallel_map.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <thread>
#include <unordered_map>
#include <vector>

namespace brzdomat {

namespace {

namespace fs = std::filesystem;

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
    std::string_view One;
    std::string_view Many;
    // Czech: after 1, after 2 to 4, after the rest.
    std::string_view CzechOne;
    std::string_view CzechFew;
    std::string_view CzechMany;
};

// Indexed by PictureFinding; the words follow a count in the summary line.
constexpr std::array<SummaryLabel, PictureFindingCount> SummaryLabels { {
    { "missing", "missing", "chybí", "chybí", "chybí" },
    { "not readable", "not readable", "nečitelný", "nečitelné", "nečitelných" },
    { "folder", "folders", "složka", "složky", "složek" },
    { "special file", "special files", "zvláštní soubor", "zvláštní soubory",
        "zvláštních souborů" },
    { "empty", "empty", "prázdný", "prázdné", "prázdných" },
    { "not JPEG", "not JPEG", "není JPEG", "nejsou JPEG", "není JPEG" },
    { "damaged", "damaged", "poškozený", "poškozené", "poškozených" },
    { "over a limit", "over a limit", "nad limitem", "nad limitem", "nad limitem" },
    { "out of memory", "out of memory", "bez paměti", "bez paměti", "bez paměti" },
    { "cut short", "cut short", "zkrácený", "zkrácené", "zkrácených" },
    { "with damaged data", "with damaged data", "s poškozenými daty", "s poškozenými daty",
        "s poškozenými daty" },
    { "larger than the picture area", "larger than the picture area", "větší než plocha obrázku",
        "větší než plocha obrázku", "větších než plocha obrázku" },
    { "smaller than the picture area", "smaller than the picture area", "menší než plocha obrázku",
        "menší než plocha obrázku", "menších než plocha obrázku" },
    { "greyscale", "greyscale", "v odstínech šedi", "v odstínech šedi", "v odstínech šedi" },
    { "fine", "fine", "v pořádku", "v pořádku", "v pořádku" },
} };

std::string_view Counted(std::size_t finding, int count, Language language)
{
    const SummaryLabel& label = SummaryLabels[finding];
    if (language == Language::Czech)
        return CzechCount(count, label.CzechOne, label.CzechFew, label.CzechMany);
    return count == 1 ? label.One : label.Many;
}

std::string Mebibytes(long long bytes)
{
    return std::to_string(bytes >> 20) + " MiB";
}

std::string LimitText(DecodeFailure failure, Language language)
{
    const DecodeLimits limits;
    const std::string over(Say(language, "over the limit of ", "nad limitem "));
    switch (failure) {
    case DecodeFailure::FileTooLarge:
        return over + Mebibytes(static_cast<long long>(limits.MaxFileBytes))
            + std::string(Say(language, " per file", " na soubor"));
    case DecodeFailure::DecoderMemoryLimit:
        return over + Mebibytes(limits.MaxDecoderMemory)
            + std::string(Say(language, " of decoder memory", " paměti dekodéru"));
    case DecodeFailure::TooManyScans:
        return over + std::to_string(limits.MaxScans)
            + std::string(Say(language, " scans", " průchodů"));
    case DecodeFailure::TooMuchWork:
        return std::string(Say(language,
            "over the limit of decoding work: too many scans for the size of the picture",
            "nad limitem práce dekodéru: na velikost obrázku příliš mnoho průchodů"));
    default:
        return over + std::to_string(limits.MaxWarnings)
            + std::string(
                Say(language, " warnings of damaged data", " varování o poškozených datech"));
    }
}

// Czech "varování" is the same for every count.
std::string Warnings(int count, Language language)
{
    if (language == Language::Czech)
        return std::to_string(count) + " varování";
    return std::to_string(count) + (count == 1 ? " warning" : " warnings");
}

// libjpeg's first test of any input: a JPEG file starts with the marker SOI.
bool StartsLikeJpeg(const std::string& path)
{
    std::ifstream file(PathFromUtf8(path), std::ios::binary);
    char start[2] {};
    return file.read(start, 2) && static_cast<unsigned char>(start[0]) == 0xFF
        && static_cast<unsigned char>(start[1]) == 0xD8;
}

void Add(PictureVerdict& verdict, PictureFinding finding, std::string_view text)
{
    if (verdict.Text.empty())
        verdict.Finding = finding;
    else
        verdict.Text += "; ";
    verdict.Text += text;
    verdict.Findings.push_back(finding);
}

PictureVerdict Verdict(PictureFinding finding, std::string_view text)
{
    PictureVerdict verdict;
    Add(verdict, finding, text);
    return verdict;
}

// The loader says only that the file could not be read; what stands at the path says why.
PictureVerdict NotRead(const std::string& path, const std::string& detail,
    std::string_view otherCaseName, Language language)
{
    std::error_code error;
    const fs::file_status status = fs::status(PathFromUtf8(path), error);
    switch (status.type()) {
    case fs::file_type::not_found:
        if (otherCaseName.empty())
            return Verdict(PictureFinding::Missing, Say(language, "missing", "chybí"));
        if (language == Language::Czech)
            return Verdict(PictureFinding::Missing,
                "chybí; je tu „" + std::string(otherCaseName)
                    + "“, ale program hledá jméno tak, jak je napsané, malými písmeny");
        return Verdict(PictureFinding::Missing,
            "missing; there is \"" + std::string(otherCaseName)
                + "\", but the program asks for the name as written, in lower case");
    case fs::file_type::directory:
        return Verdict(PictureFinding::Folder,
            Say(language, "a folder, not a picture file", "složka, ne soubor s obrázkem"));
    case fs::file_type::regular:
    case fs::file_type::none:
    case fs::file_type::unknown:
        return Verdict(PictureFinding::NotReadable,
            std::string(Say(language, "not readable: ", "nejde číst: ")) + detail);
    default:
        return Verdict(PictureFinding::NotRegularFile,
            Say(language, "not a regular file (a device, pipe or socket)",
                "není obyčejný soubor (je to zařízení, roura nebo soket)"));
    }
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

struct CheckedPicture {
    PictureVerdict Verdict;
    // What the program would show; null when it shows its message instead.
    std::shared_ptr<const RgbImage> Image;
};

CheckedPicture CheckAndKeep(
    const std::string& path, std::string_view otherCaseName, Language language)
{
    // The program's screens have more than 8 bits per pixel; greyscale is quantised regardless.
    DecodeResult loaded = LoadPictureFile(path);
    switch (loaded.Failure) {
    case DecodeFailure::None:
        break;
    case DecodeFailure::FileNotReadable:
        return { NotRead(path, loaded.Detail, otherCaseName, language), {} };
    case DecodeFailure::Empty:
        return { Verdict(PictureFinding::Empty, Say(language, "empty", "prázdný soubor")), {} };
    case DecodeFailure::NotDecodable:
        if (!StartsLikeJpeg(path))
            return { Verdict(PictureFinding::NotJpeg,
                         Say(language, "not a JPEG file", "není to soubor JPEG")),
                {} };
        return { Verdict(PictureFinding::Damaged,
                     std::string(Say(language, "damaged: ", "poškozený: ")) + loaded.Detail),
            {} };
    case DecodeFailure::OutOfMemory:
        return {
            Verdict(PictureFinding::OutOfMemory,
                Say(language, "not enough memory to load it", "na jeho načtení není dost paměti")),
            {}
        };
    default:
        return { Verdict(PictureFinding::OverLimit, LimitText(loaded.Failure, language)), {} };
    }

    PictureVerdict verdict;
    verdict.Shown = true;
    const std::string warnings = " (" + Warnings(loaded.Warnings, language) + ")";
    if (loaded.CutShort)
        Add(verdict, PictureFinding::CutShort,
            std::string(Say(language, "cut short, shown as far as its data go",
                "zkrácený, ukáže se, kam až sahají data"))
                + warnings);
    else if (loaded.Warnings > 0)
        Add(verdict, PictureFinding::FlawedData,
            std::string(Say(
                language, "damaged data, shown with flaws", "poškozená data, ukáže se s vadami"))
                + warnings);
    const std::string size = std::to_string(loaded.SourceWidth) + " x "
        + std::to_string(loaded.SourceHeight) + std::string(Say(language, " pixels", " bodů"));
    if (loaded.SourceWidth > VisibleWidth || loaded.SourceHeight > VisibleHeight)
        Add(verdict, PictureFinding::Larger,
            size
                + std::string(Say(
                    language, ", larger than the picture area of ", ", větší než plocha obrázku "))
                + AreaText()
                + std::string(Say(language, ": only its top-left part is shown",
                    ": ukáže se jen jeho levý horní díl")));
    else if (loaded.SourceWidth < VisibleWidth || loaded.SourceHeight < VisibleHeight)
        Add(verdict, PictureFinding::Smaller,
            size
                + std::string(Say(
                    language, ", smaller than the picture area of ", ", menší než plocha obrázku "))
                + AreaText() + std::string(Say(language, ": white margins", ": bílé okraje")));
    if (loaded.Greyscale)
        Add(verdict, PictureFinding::Greyscale,
            std::string(Say(language, "greyscale, shown in ", "v odstínech šedi, ukáže se ve "))
                + std::to_string(QuantisedColours)
                + std::string(Say(language, " colours", " barvách")));
    return { std::move(verdict), std::move(loaded.Image) };
}

// Every picture's name, with its index in the program's order.
std::unordered_map<std::string, int> IndexByName()
{
    std::unordered_map<std::string, int> indexByName;
    for (int index = 0; index < PictureCount; ++index)
        indexByName.emplace(QuestionPictureName(QuestionOf(index)), index);
    return indexByName;
}

// For each picture, a file in the folder whose name differs from the picture's only in letter
// case, or nothing. The folder is listed, never held whole; only one such name per picture is
// kept. Nothing when the folder cannot be read, which errors is told.
std::optional<std::vector<std::string>> ListOtherCaseNames(const std::string& startDirectory,
    const fs::path& folder, std::ostream& errors, Language language)
{
    std::error_code error;
    fs::directory_iterator listing(folder, error);
    if (error) {
        errors << "brzdomat-check-pictures: ";
        const bool exists = fs::exists(fs::symlink_status(folder, error));
        if (!exists && language == Language::Czech)
            errors << "ve složce " << startDirectory << " není složka " << PictureFolderName
                   << "\n";
        else if (!exists)
            errors << "there is no " << PictureFolderName << " folder in " << startDirectory
                   << "\n";
        else
            errors << Say(
                language, "cannot read the picture folder ", "nejde číst složku s obrázky ")
                   << Utf8FromPath(folder) << ": " << error.message() << "\n";
        return std::nullopt;
    }
    const auto indexByName = IndexByName();
    std::vector<std::string> otherCaseNames(PictureCount);
    for (; listing != fs::directory_iterator(); listing.increment(error)) {
        const std::string name = Utf8FromPath(listing->path().filename());
        if (indexByName.contains(name))
            continue;
        const auto found = indexByName.find(LowerCase(name));
        if (found != indexByName.end() && otherCaseNames[found->second].empty())
            otherCaseNames[found->second] = name;
    }
    return otherCaseNames;
}

// Two workers halve the time on the usual school computer; more would multiply the worst-case
// memory, up to the program's limits for one picture per worker, for little gain.
unsigned WorkerCount()
{
    return std::clamp(std::thread::hardware_concurrency(), 1u, MaxWorkers);
}

// Each picture costs about a millisecond of decoding, so the cores share them; every worker holds
// one decoded picture at a time, and only the verdicts are kept. A verdict is small, so none
// waits for its turn: the workers never stall on the thread that collects them.
std::vector<PictureVerdict> CheckEveryPicture(const std::string& startDirectory,
    const std::vector<std::string>& otherCaseNames, Language language)
{
    std::vector<PictureVerdict> verdicts(PictureCount);
    OrderedParallelMap(
        PictureCount, WorkerCount(), PictureCount,
        [&](int index) {
            return CheckAndKeep(QuestionPicturePath(startDirectory, QuestionOf(index)),
                otherCaseNames[index], language)
                .Verdict;
        },
        [&](int index, PictureVerdict&& verdict) { verdicts[index] = std::move(verdict); });
    return verdicts;
}

// The report's lines and summary from the verdicts: a line per picture that is not fine, then,
// from a second listing of the folder, a note per file the program never reads. A name in
// another letter case is told on the line of its missing picture instead.
void SumUp(FolderReport& report, const std::string& startDirectory, const fs::path& folder,
    const std::vector<std::string>& otherCaseNames, Language language)
{
    std::array<int, PictureFindingCount> counts {};
    std::vector<std::string_view> toldNames(PictureCount);
    for (int index = 0; index < PictureCount; ++index) {
        const PictureVerdict& verdict = report.Verdicts[index];
        ++counts[IndexOf(verdict.Finding)];
        if (verdict.Finding != PictureFinding::Fine)
            report.Lines.push_back(
                QuestionPicturePath(startDirectory, QuestionOf(index)) + ": " + verdict.Text);
        if (verdict.Finding == PictureFinding::Missing)
            toldNames[index] = otherCaseNames[index];
    }

    const auto indexByName = IndexByName();
    std::error_code error;
    for (fs::directory_iterator listing(folder, error);
         !error && listing != fs::directory_iterator(); listing.increment(error)) {
        const std::string name = Utf8FromPath(listing->path().filename());
        if (indexByName.contains(name))
            continue;
        const auto found = indexByName.find(LowerCase(name));
        if (found == indexByName.end() || toldNames[found->second] != name)
            report.Lines.push_back(Utf8FromPath(listing->path())
                + std::string(Say(language, ": note: the program never reads this file",
                    ": poznámka: tento soubor program nikdy nečte")));
    }

    const int fine = counts[IndexOf(PictureFinding::Fine)];
    report.Summary = std::to_string(PictureCount)
        + std::string(Say(language, " pictures: ", " obrázků: ")) + std::to_string(fine) + " "
        + std::string(Counted(IndexOf(PictureFinding::Fine), fine, language));
    for (std::size_t finding = 0; finding + 1 < PictureFindingCount; ++finding) {
        if (counts[finding] > 0)
            report.Summary += ", " + std::to_string(counts[finding]) + " "
                + std::string(Counted(finding, counts[finding], language));
    }
    report.Result = fine == PictureCount ? FolderCheck::AllFine : FolderCheck::Findings;
}

} // namespace

std::string_view FindingName(PictureFinding finding, Language language)
{
    return Counted(IndexOf(finding), 1, language);
}

PictureVerdict CheckPicture(
    const std::string& path, std::string_view otherCaseName, Language language)
{
    return CheckAndKeep(path, otherCaseName, language).Verdict;
}

FolderReport CheckPictureFolder(
    const std::string& startDirectory, std::ostream& errors, Language language)
{
    FolderReport report;
    const fs::path folder = PathFromUtf8(QuestionPicturePath(startDirectory, {})).parent_path();
    report.PictureFolder = Utf8FromPath(folder);
    const auto otherCaseNames = ListOtherCaseNames(startDirectory, folder, errors, language);
    if (!otherCaseNames)
        return report;
    report.Verdicts = CheckEveryPicture(startDirectory, *otherCaseNames, language);
    SumUp(report, startDirectory, folder, *otherCaseNames, language);
    return report;
}

void LoadShownPictures(const std::string& startDirectory, const FolderReport& report,
    const PictureReduction& reduce, const PictureSink& sink)
{
    // A window of two pictures a worker keeps both busy while the sink draws.
    OrderedParallelMap(
        static_cast<int>(report.Verdicts.size()), WorkerCount(),
        2 * static_cast<int>(WorkerCount()),
        [&](int index) -> std::shared_ptr<const RgbImage> {
            if (!report.Verdicts[index].Shown)
                return {};
            const DecodeResult loaded
                = LoadPictureFile(QuestionPicturePath(startDirectory, QuestionOf(index)));
            if (!loaded.Image)
                return {};
            return reduce ? reduce(*loaded.Image) : loaded.Image;
        },
        [&](int index, const std::shared_ptr<const RgbImage>& image) {
            sink(QuestionOf(index), report.Verdicts[index], image.get());
        });
}

FolderCheck CheckPictureFolder(
    const std::string& startDirectory, std::ostream& out, std::ostream& errors, Language language)
{
    const FolderReport report = CheckPictureFolder(startDirectory, errors, language);
    if (report.Result == FolderCheck::FolderNotReadable)
        return report.Result;
    for (const std::string& line : report.Lines)
        out << line << "\n";
    out << report.Summary << "\n";
    return report.Result;
}

} // namespace brzdomat
