#pragma once

// What a command-line tool needs of its system to take Czech names in and give Czech text out.
// The tools hold every text and path as UTF-8; Windows hands a program its arguments in the ANSI
// code page and shows its console in the OEM one, neither of which holds every Czech name.

#include <filesystem>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace brzdomat {

// argv[0] .. argv[argc - 1] in UTF-8; on Windows taken from the UTF-16 command line.
std::vector<std::string> Utf8Arguments(int argc, char* argv[]);

std::filesystem::path PathFromUtf8(std::string_view text);
std::string Utf8FromPath(const std::filesystem::path& path);

// While it lives, UTF-8 written to std::cout and std::cerr shows with its Czech letters: on
// Windows a console gets the text in UTF-16, whatever its code page; a file or a pipe, and every
// other system, gets the bytes as they are.
class Utf8Console {
public:
    Utf8Console();
    ~Utf8Console();
    Utf8Console(const Utf8Console&) = delete;
    Utf8Console& operator=(const Utf8Console&) = delete;

    // True when the console was made for this program alone, as for one started from the
    // Start menu: it closes with the program, so a reader needs a moment first.
    static bool OwnsItsWindow();

private:
    std::vector<std::pair<std::ostream*, std::streambuf*>> m_Replaced;
    std::vector<std::unique_ptr<std::streambuf>> m_Buffers;
};

} // namespace brzdomat
