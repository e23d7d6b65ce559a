#include "bank/picture_file.h"

#include <emscripten.h>

#include <cstdlib>
#include <string>

// In a browser the program's file system has the page's folder for its root: the start directory
// is "/", and a picture's path names a file beside the page, which is fetched from the page's
// own server when the question is shown. The read stays synchronous for the caller: asyncify
// suspends the program until the response is in. Meanwhile nothing of the program may run, as
// nothing runs while the desktop program reads a file: the user's input waits and is delivered
// afterwards, and the toolkit holds back its timers and events while the stack sleeps.

namespace brzdomat {

namespace {

// How a fetch ended, besides a byte count of zero or more.
constexpr int NotAFileOfThePage = -1;
constexpr int NetworkFailure = -2;
constexpr int TooLarge = -3;
// An HTTP status other than success, as -(StatusBase + status).
constexpr int StatusBase = 1000;

// The response is read in pieces and refused as soon as it passes maxBytes, whatever the server
// said of its length; a server that does not answer within the time is a network failure.
// clang-format off
// The JavaScript is a macro's argument: the formatter would read it as C++ and split "===".
EM_ASYNC_JS(int, FetchPageFile, (const char* path, double maxBytes, unsigned char** bytes), {
    let name = UTF8ToString(path);
    while (name.startsWith("/"))
        name = name.slice(1);
    // Only plain names of files below the page: nothing that could leave its folder or ask for
    // something else than a file.
    const segment = /^[A-Za-z0-9_][A-Za-z0-9_.-]*$/;
    if (name === "" || !name.split("/").every((part) => segment.test(part) && part !== ".."))
        return -1;
    const url = new URL(name, document.baseURI);

    const held = [];
    const kinds = ["pointerdown", "pointerup", "pointermove", "pointerenter", "pointerleave",
        "mousedown", "mouseup", "mousemove", "click", "dblclick", "contextmenu", "wheel",
        "keydown", "keyup", "keypress", "touchstart", "touchend", "touchmove", "touchcancel"];
    const hold = (event) => {
        held.push(event);
        event.stopImmediatePropagation();
        event.preventDefault();
    };
    for (const kind of kinds)
        window.addEventListener(kind, hold, { capture: true, passive: false });
    const controller = new AbortController();
    const timer = setTimeout(() => controller.abort(), 30000);
    try {
        const response = await fetch(url, { cache: "no-cache", credentials: "same-origin",
            mode: "same-origin", signal: controller.signal });
        if (!response.ok)
            return -(1000 + response.status);
        const declared = Number(response.headers.get("Content-Length"));
        if (declared > maxBytes) {
            controller.abort();
            return -3;
        }
        const reader = response.body.getReader();
        const pieces = [];
        let length = 0;
        for (;;) {
            const piece = await reader.read();
            if (piece.done)
                break;
            length += piece.value.length;
            if (length > maxBytes) {
                controller.abort();
                return -3;
            }
            pieces.push(piece.value);
        }
        const pointer = _malloc(Math.max(length, 1));
        if (!pointer)
            return -2;
        let offset = pointer;
        for (const piece of pieces) {
            HEAPU8.set(piece, offset);
            offset += piece.length;
        }
        setValue(bytes, pointer, "*");
        return length;
    } catch (failure) {
        return -2;
    } finally {
        clearTimeout(timer);
        for (const kind of kinds)
            window.removeEventListener(kind, hold, { capture: true });
        // Delivered once the program has gone on from the read.
        setTimeout(() => {
            for (const event of held)
                event.target.dispatchEvent(new event.constructor(event.type, event));
        });
    }
});
// clang-format on

} // namespace

FileBytes ReadPictureFile(const std::string& path, std::size_t maxBytes)
{
    unsigned char* bytes = nullptr;
    int length = FetchPageFile(path.c_str(), static_cast<double>(maxBytes), &bytes);
    if (length == NotAFileOfThePage)
        return FileFailure(DecodeFailure::FileNotReadable, "not a file of the page");
    if (length == NetworkFailure)
        return FileFailure(DecodeFailure::FileNotReadable, "network failure");
    if (length == TooLarge)
        return FileFailure(DecodeFailure::FileTooLarge, "file too large");
    if (length < 0)
        return FileFailure(
            DecodeFailure::FileNotReadable, "HTTP status " + std::to_string(-length - StatusBase));
    FileBytes file;
    try {
        file.Bytes.assign(bytes, bytes + length);
    } catch (...) {
        std::free(bytes);
        return FileFailure(DecodeFailure::OutOfMemory, "out of memory");
    }
    std::free(bytes);
    return file;
}

} // namespace brzdomat
