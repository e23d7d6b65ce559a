#pragma once

// The part of reading a picture file that is the same on every system; the system calls live in
// picture_file_posix.cpp and picture_file_windows.cpp, one of which is built.

#include "bank/jpeg_decoder.h"

#include <cstdint>
#include <functional>

namespace brzdomat {

// Reads into a buffer sized from what the system reported, growing it while the file grows
// under the reader but never keeping more than maxBytes. readSome fills at most the given
// number of bytes and returns how many it read, 0 at the end, or -1 with detail set on failure.
using ReadSome = std::function<long long(std::uint8_t*, std::size_t, std::string& detail)>;
FileBytes ReadBounded(std::uint64_t reportedSize, std::size_t maxBytes, const ReadSome& readSome);

FileBytes FileFailure(DecodeFailure, std::string detail);

} // namespace brzdomat
