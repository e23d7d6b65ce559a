#pragma once

// Looks at the question pictures exactly as the program will load them, with the program's own
// path rule, loading code and limits, and says which of them the program would not show as
// intended and why. It only reads: it never changes, moves or repairs a file.

#include "bank/question_ref.h"

#include <array>
#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>

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
    // Every finding in words, for the picture's line; empty when the picture is fine.
    std::string Text;
    // The program loads the picture instead of reporting it with its message.
    bool Shown = false;
};

// One picture file, by the path the program opens. otherCaseName names a file in the same folder
// whose name differs only in letter case, for the line of a missing picture.
PictureVerdict CheckPicture(const std::string& path, std::string_view otherCaseName = {});

enum class FolderCheck { AllFine, Findings, FolderNotReadable };

// Checks all pictures below startDirectory, as the program started there would load them.
// Writes one line per picture that is not fine, a note per file in the picture folder that the
// program never reads, and a summary line to out; a folder that cannot be read at all goes to
// errors. One picture is in memory at a time.
FolderCheck CheckPictureFolder(
    const std::string& startDirectory, std::ostream& out, std::ostream& errors);

} // namespace brzdomat
