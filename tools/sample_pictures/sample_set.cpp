#include "tools/sample_pictures/sample_set.h"

#include "bank/question_picture.h"
#include "tools/common/command_line.h"
#include "tools/sample_pictures/jpeg_writer.h"
#include "tools/sample_pictures/question_card.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#endif

namespace brzdomat {
namespace {

enum class WriteOutcome { Written, AlreadyThere, Failed };

std::FILE* CreateNewFile(const std::filesystem::path& path)
{
#ifdef _WIN32
    // The C runtime Windows programs of MinGW use knows no "x" mode; _wopen creates exclusively.
    const int descriptor
        = _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (descriptor < 0)
        return nullptr;
    std::FILE* file = _fdopen(descriptor, "wb");
    if (!file)
        _close(descriptor);
    return file;
#else
    return std::fopen(path.c_str(), "wbx");
#endif
}

// Creates the file exclusively ("x"), so an existing picture is never opened for writing, and
// removes what it created if the write does not complete.
WriteOutcome WriteNewFile(
    const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes, std::string& error)
{
    std::FILE* file = CreateNewFile(path);
    if (!file) {
        if (errno == EEXIST)
            return WriteOutcome::AlreadyThere;
        error = Utf8FromPath(path) + ": " + std::strerror(errno);
        return WriteOutcome::Failed;
    }
    const bool complete = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const int writeErrno = errno;
    const bool closed = std::fclose(file) == 0;
    if (complete && closed)
        return WriteOutcome::Written;
    error = Utf8FromPath(path) + ": " + std::strerror(complete ? errno : writeErrno);
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    return WriteOutcome::Failed;
}

} // namespace

std::vector<std::uint8_t> EncodeQuestionCard(QuestionRef question)
{
    const QImage card = DrawQuestionCard(question);
    auto encoded = EncodeBaselineJpeg(card, SampleCardQuality);
    return std::move(encoded.Bytes);
}

SampleSetReport WriteSampleSet(const std::filesystem::path& folder, Language language)
{
    SampleSetReport report;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        report.Error = Utf8FromPath(folder) + ": " + error.message();
        return report;
    }
    if (!std::filesystem::is_directory(folder, error)) {
        report.Error
            = Utf8FromPath(folder) + std::string(Say(language, ": not a folder", ": není složka"));
        return report;
    }
    for (int test = 1; test <= TestCount; ++test) {
        for (int question = 1; question <= QuestionsPerTest; ++question) {
            const QuestionRef reference { test, question };
            const auto path = folder / QuestionPictureName(reference);
            // Checking first spares drawing a card that would be thrown away.
            if (std::filesystem::exists(std::filesystem::symlink_status(path, error))) {
                ++report.Kept;
                continue;
            }
            const auto bytes = EncodeQuestionCard(reference);
            if (bytes.empty()) {
                report.Error = Utf8FromPath(path)
                    + std::string(Say(language, ": the picture could not be encoded",
                        ": obrázek nešel zakódovat"));
                return report;
            }
            switch (WriteNewFile(path, bytes, report.Error)) {
            case WriteOutcome::Written:
                ++report.Written;
                break;
            case WriteOutcome::AlreadyThere:
                ++report.Kept;
                break;
            case WriteOutcome::Failed:
                return report;
            }
        }
    }
    return report;
}

} // namespace brzdomat
