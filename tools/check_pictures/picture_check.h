#pragma once

// Looks at the question pictures exactly as the program will load them, with the program's own
// path rule, loading code and limits, and says which of them the program would not show as
// intended and why. It only reads: it never changes, moves or repairs a file.

#include "bank/jpeg_decoder.h"
#include "bank/question_ref.h"
#include "tools/common/user_language.h"

#include <array>
#include <cstddef>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace brzdomat {

// Worst first: a picture with several findings is counted under the first of them.
enum class PictureFinding {
    Missing,
    NotReadable,
    Folder,
    NotRegularFile,
    Empty,
    NotJpeg,
    Damaged,
    OverLimit,
    OutOfMemory,
    // The program shows these, but not as intended.
    CutShort,
    FlawedData,
    Larger,
    Smaller,
    Greyscale,
    Fine,
};
inline constexpr std::size_t PictureFindingCount
    = static_cast<std::size_t>(PictureFinding::Fine) + 1;

struct PictureVerdict {
    PictureFinding Finding = PictureFinding::Fine;
    // Every finding, worst first; empty when the picture is fine.
    std::vector<PictureFinding> Findings;
    // Every finding in words, for the picture's line; empty when the picture is fine.
    std::string Text;
    // The program loads the picture instead of reporting it with its message.
    bool Shown = false;
};

// A finding in a few words, as the summary line counts it ("larger than the picture area").
std::string_view FindingName(PictureFinding, Language);

// One picture file, by the path the program opens. otherCaseName names a file in the same folder
// whose name differs only in letter case, for the line of a missing picture.
PictureVerdict CheckPicture(const std::string& path, std::string_view otherCaseName = {},
    Language language = Language::English);

enum class FolderCheck { AllFine, Findings, FolderNotReadable };

struct FolderReport {
    FolderCheck Result = FolderCheck::FolderNotReadable;
    // The picture folder, as the program names it.
    std::string PictureFolder;
    // One line per picture that is not fine, in the program's order, then a note per file in the
    // picture folder that the program never reads.
    std::vector<std::string> Lines;
    // "800 pictures: 795 fine, 3 missing, ...".
    std::string Summary;
    // Every picture's verdict, in the program's order.
    std::vector<PictureVerdict> Verdicts;
};

// Checks all pictures below startDirectory, as the program started there would load them. A
// folder that cannot be read at all goes to errors. One picture a worker is in memory at a time.
FolderReport CheckPictureFolder(
    const std::string& startDirectory, std::ostream& errors, Language language);

// The same, writing the report's lines and its summary to out.
FolderCheck CheckPictureFolder(const std::string& startDirectory, std::ostream& out,
    std::ostream& errors, Language language = Language::English);

// Called for every picture in the program's order, on the calling thread. image holds what the
// program would show, as reduced, or is null when the program shows its message instead; it
// lives only for the call.
using PictureSink = std::function<void(QuestionRef, const PictureVerdict&, const RgbImage* image)>;

// Work on a shown picture that runs on the thread that decoded it, beside the decoding of the
// others, rather than in turn on the sink's: the sink gets the image it gives back instead.
using PictureReduction = std::function<std::shared_ptr<const RgbImage>(const RgbImage&)>;

// Loads again, on the checker's workers, every picture the report says the program shows, and
// gives each picture of the report to the sink with its verdict; a few decoded pictures wait for
// their turn at a time. A picture that no longer loads comes without an image. What reduce or
// the sink throws is thrown on.
void LoadShownPictures(const std::string& startDirectory, const FolderReport&,
    const PictureReduction& reduce, const PictureSink& sink);

} // namespace brzdomat
