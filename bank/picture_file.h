#pragma once

// Reading a picture file, whole and bounded, and loading it: reading and decoding in one. The
// system calls live in picture_file_posix.cpp and picture_file_windows.cpp, one of which is
// built; the rest is the same on every system.

#include "bank/jpeg_decoder.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace brzdomat {

struct FileBytes {
    std::vector<std::uint8_t> Bytes;
    DecodeFailure Failure = DecodeFailure::None;
    std::string Detail;
};

// Reads a whole regular file, opened read-only, refusing one larger than maxBytes. Folders,
// devices and pipes are refused without reading from them. In a page only a file that
// HoldPictureFiles holds can be read: reading there waits for the network.
FileBytes ReadPictureFile(const std::string& path, std::size_t maxBytes);

// Says that the file is read soon. Where reading waits for the network (a page, whose files come
// from its server), getting the file starts now, so that ReadPictureFile finds it on its way or
// in; a file read from a disk is read when asked for, and this does nothing.
void ReadPictureFileAhead(const std::string& path, std::size_t maxBytes);

// Where reading waits for the network (a page, whose files come from its server), gets the files,
// all at once, and calls then() once each has come or failed; until ForgetHeldPictureFiles,
// ReadPictureFile gives what each read gave, from memory. Meanwhile the user's input waits, as it
// does while a desktop program reads a file. Elsewhere a file is read when asked for: returns
// false and never calls then(). One holder at a time.
bool HoldPictureFiles(
    const std::vector<std::string>& paths, std::size_t maxBytes, std::function<void()> then);
void ForgetHeldPictureFiles();

// Forgets the held files when it goes, however its scope is left: for whoever has read them.
struct ForgetHeldPictureFilesAtEnd {
    ForgetHeldPictureFilesAtEnd() = default;
    ForgetHeldPictureFilesAtEnd(const ForgetHeldPictureFilesAtEnd&) = delete;
    ForgetHeldPictureFilesAtEnd& operator=(const ForgetHeldPictureFilesAtEnd&) = delete;
    ~ForgetHeldPictureFilesAtEnd() { ForgetHeldPictureFiles(); }
};

// ReadPictureFile and DecodeJpeg in one; an empty file is a failure.
DecodeResult LoadPictureFile(const std::string& path, const DecodeOptions& options = {});

// For the system-specific readers: reads into a buffer sized from what the system reported,
// growing it while the file grows under the reader but never keeping more than maxBytes.
// readSome fills at most the given number of bytes and returns how many it read, 0 at the end,
// or -1 with detail set on failure.
using ReadSome = std::function<long long(std::uint8_t*, std::size_t, std::string& detail)>;
FileBytes ReadBounded(std::uint64_t reportedSize, std::size_t maxBytes, const ReadSome& readSome);

FileBytes FileFailure(DecodeFailure, std::string detail);

} // namespace brzdomat
