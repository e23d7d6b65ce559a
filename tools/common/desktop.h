#pragma once

// Handing a file to the desktop, for a user who would rather not look for it.

#include <filesystem>

namespace brzdomat {

// Opens the file in the program the system uses for its kind, and does not wait for it. False
// when no such program could be started.
bool OpenWithViewer(const std::filesystem::path& file);

} // namespace brzdomat
