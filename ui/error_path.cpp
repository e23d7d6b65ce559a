#include "ui/error_path.h"

#include <exception>
#include <new>

namespace brzdomat {

std::string FailureText(std::string_view message)
{
    std::string text { message };
    // Compared as unsigned bytes: the last byte of a UTF-8 letter is above "." too.
    if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.'))
        text += '.';
    return text;
}

void ReportCurrentFailure(UiSurface& surface)
{
    std::string message;
    try {
        throw;
    } catch (const std::bad_alloc&) {
        message = "Out of memory";
    } catch (const std::exception& error) {
        message = error.what();
    } catch (...) {
        message = "Unknown failure";
    }
    // Reporting must not throw back into the event loop; if even the box fails there is
    // nothing left to tell the user with.
    try {
        surface.ReportFailure(FailureText(message));
    } catch (...) {
    }
}

} // namespace brzdomat
