#include "tools/common/command_line.h"

#include <array>
#include <iostream>
#include <memory>

#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>
#endif

namespace brzdomat {

namespace {

#ifdef _WIN32
std::string Utf8FromWide(std::wstring_view wide)
{
    if (wide.empty())
        return {};
    const int length = WideCharToMultiByte(
        CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(std::max(length, 0)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), length,
        nullptr, nullptr);
    return text;
}

// Collects UTF-8 and writes it to the console as UTF-16. A character split between two writes
// waits in the buffer for its remaining bytes.
class ConsoleBuffer : public std::streambuf {
public:
    explicit ConsoleBuffer(HANDLE console)
        : m_Console(console)
    {
        setp(m_Bytes.data(), m_Bytes.data() + m_Bytes.size());
    }
    ~ConsoleBuffer() override { Flush(); }

protected:
    int_type overflow(int_type character) override
    {
        if (Flush() != 0)
            return traits_type::eof();
        if (!traits_type::eq_int_type(character, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(character);
            pbump(1);
        }
        return traits_type::not_eof(character);
    }
    int sync() override { return Flush(); }

private:
    // The bytes up to the last whole character.
    static std::size_t WholeCharacters(const char* bytes, std::size_t length)
    {
        for (std::size_t back = 1; back <= 4 && back <= length; ++back) {
            const auto byte = static_cast<unsigned char>(bytes[length - back]);
            if ((byte & 0xC0) == 0x80)
                continue;
            const std::size_t needed = byte < 0x80 ? 1 : byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
            return needed > back ? length - back : length;
        }
        return length;
    }

    int Flush()
    {
        const auto length = static_cast<std::size_t>(pptr() - pbase());
        const std::size_t whole = WholeCharacters(pbase(), length);
        int result = 0;
        if (whole > 0) {
            const int wideLength
                = MultiByteToWideChar(CP_UTF8, 0, pbase(), static_cast<int>(whole), nullptr, 0);
            std::wstring wide(static_cast<std::size_t>(std::max(wideLength, 0)), L'\0');
            MultiByteToWideChar(
                CP_UTF8, 0, pbase(), static_cast<int>(whole), wide.data(), wideLength);
            DWORD written = 0;
            if (!WriteConsoleW(
                    m_Console, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr))
                result = -1;
        }
        const std::size_t rest = length - whole;
        std::copy(pbase() + whole, pptr(), m_Bytes.data());
        setp(m_Bytes.data(), m_Bytes.data() + m_Bytes.size());
        pbump(static_cast<int>(rest));
        return result;
    }

    HANDLE m_Console;
    std::array<char, 4096> m_Bytes {};
};
#endif

} // namespace

std::vector<std::string> Utf8Arguments(int argc, char* argv[])
{
#ifdef _WIN32
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide != nullptr && count == argc) {
        std::vector<std::string> arguments;
        for (int index = 0; index < count; ++index)
            arguments.push_back(Utf8FromWide(wide[index]));
        LocalFree(wide);
        return arguments;
    }
    LocalFree(wide);
#endif
    return { argv, argv + argc };
}

std::filesystem::path PathFromUtf8(std::string_view text)
{
    return std::u8string(text.begin(), text.end());
}

std::string Utf8FromPath(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return { text.begin(), text.end() };
}

Utf8Console::Utf8Console()
{
#ifdef _WIN32
    const std::pair<std::ostream*, DWORD> streams[]
        = { { &std::cout, STD_OUTPUT_HANDLE }, { &std::cerr, STD_ERROR_HANDLE } };
    for (const auto& [stream, which] : streams) {
        const HANDLE handle = GetStdHandle(which);
        DWORD mode = 0;
        if (handle == nullptr || handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode))
            continue;
        m_Buffers.push_back(std::make_unique<ConsoleBuffer>(handle));
        m_Replaced.emplace_back(stream, stream->rdbuf(m_Buffers.back().get()));
    }
#endif
}

Utf8Console::~Utf8Console()
{
    for (const auto& [stream, original] : m_Replaced) {
        stream->flush();
        stream->rdbuf(original);
    }
}

bool Utf8Console::OwnsItsWindow()
{
#ifdef _WIN32
    DWORD processes[2] = {};
    return GetConsoleWindow() != nullptr && GetConsoleProcessList(processes, 2) == 1;
#else
    return false;
#endif
}

} // namespace brzdomat
