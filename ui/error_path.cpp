#include "ui/error_path.h"

#include <algorithm>
#include <array>
#include <exception>
#include <new>

namespace brzdomat {

namespace {

// The last resort when not even the text can be built or shown: a literal needs no memory.
constexpr std::string_view FixedFailureText = "Out of memory.";

// Compared as unsigned bytes: the last byte of a UTF-8 letter is above "." too.
bool NeedsFullStop(std::string_view message)
{
    return !message.empty()
        && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.');
}

// The failure's own words, found without allocating; they live as long as the exception.
std::string_view CurrentMessage() noexcept
{
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return "Out of memory";
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "Unknown failure";
    }
}

} // namespace

std::string FailureText(std::string_view message)
{
    std::string text { message };
    if (NeedsFullStop(message))
        text += '.';
    return text;
}

// Reporting must not throw back into the event loop, least of all under low memory, when
// building the text or showing the box can fail. The text is then built in place, cut if it is
// long, and when even that box fails, a fixed text is tried; if nothing can be shown, there is
// nothing left to tell the user with.
void ReportCurrentFailure(UiSurface& surface) noexcept
{
    std::string_view message = CurrentMessage();
    try {
        surface.ReportFailure(FailureText(message));
        return;
    } catch (...) {
    }
    try {
        std::array<char, 256> text;
        std::size_t length = std::min(message.size(), text.size() - 1);
        std::copy_n(message.begin(), length, text.begin());
        if (NeedsFullStop(message.substr(0, length)))
            text[length++] = '.';
        surface.ReportFailure({ text.data(), length });
        return;
    } catch (...) {
    }
    try {
        surface.ReportFailure(FixedFailureText);
    } catch (...) {
    }
}

} // namespace brzdomat
