#pragma once

// The default error path. Every event handler (menu command, button click, timer tick, window
// activation) runs through RunHandler: a failure that leaves the handler is reported in a box
// and the handler stays abandoned where it failed. What it changed before stays changed and the
// program goes on with the next event. Nothing escapes into the toolkit's event loop.

#include "ui/ui_surface.h"
#include "ui/waiting.h"

#include <string>
#include <string_view>

namespace brzdomat {

// Thrown to leave a handler without any message, when what it was working on is gone: the
// clock ended the test run while the handler waited inside a box.
struct HandlerAbandoned { };

// The message as the box shows it: a full stop is appended when the last character's code is
// greater than that of "." (so a message ending in a letter gets one, one ending in "." or in a
// blank does not).
std::string FailureText(std::string_view message);

// Reports the exception in flight through surface.ReportFailure. Call only from a catch block.
// Never throws: under low memory it reports what it still can, at the least "Out of memory.".
void ReportCurrentFailure(UiSurface&) noexcept;

template <typename Handler> void RunHandler(UiSurface& surface, Handler&& handler) noexcept
{
    try {
        handler();
    } catch (const HandlerAbandoned&) {
    } catch (...) {
        ReportCurrentFailure(surface);
    }
}

// What an event handler that may wait returns. It runs at once, up to its first wait; a failure
// that leaves it, then or after a wait, goes the way RunHandler sends it. The handler's owner is
// asked for the surface to report on.
class Command {
public:
    struct promise_type {
        template <typename Owner, typename... Arguments>
        explicit promise_type(Owner& owner, const Arguments&...)
            : Surface(owner.Surface())
        {
        }

        UiSurface& Surface;

        Command get_return_object() { return {}; }
        std::suspend_never initial_suspend() noexcept { return {}; }
        std::suspend_never final_suspend() noexcept { return {}; }
        void return_void() { }
        void unhandled_exception() noexcept
        {
            RunHandler(Surface, [] { throw; });
        }
    };
};

} // namespace brzdomat
