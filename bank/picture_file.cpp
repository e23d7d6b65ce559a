#include "bank/picture_file.h"

#include <algorithm>
#include <new>
#include <stdexcept>

namespace brzdomat {

namespace {

DecodeResult Failed(DecodeFailure failure, std::string detail)
{
    DecodeResult result;
    result.Failure = failure;
    result.Detail = std::move(detail);
    return result;
}

} // namespace

FileBytes FileFailure(DecodeFailure failure, std::string detail)
{
    FileBytes file;
    file.Failure = failure;
    file.Detail = std::move(detail);
    return file;
}

FileBytes ReadBounded(std::uint64_t reportedSize, std::size_t maxBytes, const ReadSome& readSome)
{
    if (reportedSize > maxBytes)
        return FileFailure(DecodeFailure::FileTooLarge, "file too large");

    // The file may change while it is read; whatever it holds, no more than maxBytes are kept.
    FileBytes file;
    file.Bytes.resize(static_cast<std::size_t>(reportedSize) + 1);
    std::size_t filled = 0;
    for (;;) {
        if (filled == file.Bytes.size()) {
            if (file.Bytes.size() > maxBytes)
                return FileFailure(DecodeFailure::FileTooLarge, "file too large");
            file.Bytes.resize(std::min(maxBytes + 1, file.Bytes.size() * 2));
        }
        std::string detail;
        long long count = readSome(file.Bytes.data() + filled, file.Bytes.size() - filled, detail);
        if (count < 0)
            return FileFailure(DecodeFailure::FileNotReadable, std::move(detail));
        if (count == 0)
            break;
        filled += static_cast<std::size_t>(count);
    }
    if (filled > maxBytes)
        return FileFailure(DecodeFailure::FileTooLarge, "file too large");
    file.Bytes.resize(filled);
    return file;
}

DecodeResult LoadPictureFile(const std::string& path, const DecodeOptions& options)
{
    try {
        FileBytes file = ReadPictureFile(path, options.Limits.MaxFileBytes);
        if (file.Failure != DecodeFailure::None)
            return Failed(file.Failure, std::move(file.Detail));
        return DecodeJpeg(file.Bytes, options);
    } catch (const std::bad_alloc&) {
        return Failed(DecodeFailure::OutOfMemory, "out of memory");
    } catch (const std::length_error&) {
        return Failed(DecodeFailure::OutOfMemory, "out of memory");
    }
}

} // namespace brzdomat
