#include "bank/picture_file.h"

#include <algorithm>
#include <string>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace brzdomat {

namespace {

// Paths are held as UTF-8 everywhere in the program; Windows takes them in UTF-16, so that a
// folder such as C:\Autoškola works whatever the system's code page.
bool ToWide(const std::string& text, std::wstring& wide)
{
    if (text.empty())
        return true;
    int length = ::MultiByteToWideChar(
        CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0)
        return false;
    wide.resize(static_cast<std::size_t>(length));
    return ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
               static_cast<int>(text.size()), wide.data(), length)
        == length;
}

std::string SystemMessage(DWORD code)
{
    wchar_t* buffer = nullptr;
    DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string message = "system error " + std::to_string(code);
    if (length > 0 && buffer != nullptr) {
        while (length > 0 && (buffer[length - 1] == L'\r' || buffer[length - 1] == L'\n'))
            --length;
        int bytes = ::WideCharToMultiByte(
            CP_UTF8, 0, buffer, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
        if (bytes > 0) {
            message.assign(static_cast<std::size_t>(bytes), '\0');
            ::WideCharToMultiByte(CP_UTF8, 0, buffer, static_cast<int>(length), message.data(),
                bytes, nullptr, nullptr);
        }
    }
    ::LocalFree(buffer);
    return message;
}

} // namespace

FileBytes ReadPictureFile(const std::string& path, std::size_t maxBytes)
{
    std::wstring widePath;
    if (!ToWide(path, widePath))
        return FileFailure(DecodeFailure::FileNotReadable, "the path is not valid UTF-8");
    // Others may go on reading the picture while it is open here, but nobody may change it
    // halfway through the read; a file held open for writing is refused at once.
    HANDLE handle = ::CreateFileW(widePath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return FileFailure(DecodeFailure::FileNotReadable, SystemMessage(::GetLastError()));
    struct Closer {
        HANDLE Handle;
        ~Closer() { ::CloseHandle(Handle); }
    } closer { handle };

    // Pipes, consoles and devices are refused before anything is read from them. Folders cannot
    // be opened this way at all.
    BY_HANDLE_FILE_INFORMATION information {};
    if (::GetFileType(handle) != FILE_TYPE_DISK
        || !::GetFileInformationByHandle(handle, &information)
        || (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return FileFailure(DecodeFailure::FileNotReadable, "not a regular file");
    std::uint64_t size
        = (std::uint64_t { information.nFileSizeHigh } << 32) | information.nFileSizeLow;

    return ReadBounded(size, maxBytes,
        [handle](std::uint8_t* into, std::size_t length, std::string& detail) -> long long {
            DWORD count = 0;
            DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(length, 1u << 30));
            if (!::ReadFile(handle, into, chunk, &count, nullptr)) {
                detail = SystemMessage(::GetLastError());
                return -1;
            }
            return count;
        });
}

void ReadPictureFileAhead(const std::string&, std::size_t)
{
}

bool HoldPictureFiles(const std::vector<std::string>&, std::size_t, std::function<void()>)
{
    return false;
}

void ForgetHeldPictureFiles()
{
}

} // namespace brzdomat
