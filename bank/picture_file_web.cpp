#include "bank/picture_file.h"

#include <emscripten.h>

#include <cstdlib>
#include <map>
#include <set>
#include <string>

// In a browser the program's file system has the page's folder for its root: the start directory
// is "/", and a picture's path names a file beside the page, which is fetched from the page's
// own server when the question is shown, or earlier when the program names it as the next
// question's while this one is answered, so that confirming draws the next picture without
// waiting for the network (still read anew for every showing, as on a desktop, and a failure of
// a fetch ahead is fetched once more before it is told). The read stays synchronous for the
// caller: asyncify suspends the program until the response is in. Meanwhile nothing of the program
// may run, as nothing runs while the desktop program reads a file: the user's input waits and is
// delivered afterwards, and the toolkit holds back its timers and events while the stack sleeps.

namespace brzdomat {

namespace {

// How a fetch ended, besides a byte count of zero or more.
constexpr int NotAFileOfThePage = -1;
constexpr int NetworkFailure = -2;
constexpr int TooLarge = -3;
// A fetch ahead that failed: the file is asked for once more when it is needed.
constexpr int FailedAhead = -4;
// An HTTP status other than success, as -(StatusBase + status).
constexpr int StatusBase = 1000;

// Starts fetching a file of the page, unless the same one is already on its way (fetched ahead):
// its result, a byte count with the bytes or one of the failures above, is kept for TakeFetch.
// The response is read in pieces and refused as soon as it passes maxBytes, whatever the server
// said of its length; a server that does not answer within the time is a network failure. A
// fetch ahead that is not taken is cancelled when the next one starts.
// clang-format off
// The JavaScript is a macro's argument: the formatter would read it as C++ and split "===".
EM_JS(void, StartFetch, (const char* path, double maxBytes, bool ahead), {
    let name = UTF8ToString(path);
    while (name.startsWith("/"))
        name = name.slice(1);
    const fetches = Module.brzdomatFetches || (Module.brzdomatFetches = new Map());
    // Only plain names of files below the page: nothing that could leave its folder or ask for
    // something else than a file.
    const segment = /^[A-Za-z0-9_][A-Za-z0-9_.-]*$/;
    if (name === "" || !name.split("/").every((part) => segment.test(part) && part !== "..")) {
        fetches.set(name, { ahead, result: Promise.resolve({ code: -1 }) });
        return;
    }
    const known = fetches.get(name);
    if (known && known.ahead)
        return;
    fetches.forEach((fetching, other) => {
        if (fetching.ahead) {
            fetching.controller.abort();
            fetches.delete(other);
        }
    });
    const controller = new AbortController();
    const read = async () => {
        const timer = setTimeout(() => controller.abort(), 30000);
        try {
            const response = await fetch(new URL(name, document.baseURI), { cache: "no-cache",
                credentials: "same-origin", mode: "same-origin", signal: controller.signal });
            if (!response.ok)
                return { code: -(1000 + response.status) };
            const declared = Number(response.headers.get("Content-Length"));
            if (declared > maxBytes) {
                controller.abort();
                return { code: -3 };
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
                    return { code: -3 };
                }
                pieces.push(piece.value);
            }
            return { code: length, pieces };
        } catch (failure) {
            return { code: -2 };
        } finally {
            clearTimeout(timer);
        }
    };
    fetches.set(name, { ahead, controller, result: read() });
});

// Waits for the fetch of the file, then hands its bytes to the program (in memory of the
// program's, for the caller to free). Whatever the user does meanwhile waits with it.
EM_ASYNC_JS(int, TakeFetch, (const char* path, unsigned char** bytes), {
    let name = UTF8ToString(path);
    while (name.startsWith("/"))
        name = name.slice(1);
    const fetches = Module.brzdomatFetches;
    const fetching = fetches.get(name);
    fetches.delete(name);

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
    try {
        const outcome = await fetching.result;
        const code = outcome.code;
        if (code <= 0)
            return fetching.ahead && code < 0 ? -4 : code;
        const pointer = _malloc(code);
        if (!pointer)
            return -2;
        let offset = pointer;
        for (const piece of outcome.pieces) {
            HEAPU8.set(piece, offset);
            offset += piece.length;
        }
        setValue(bytes, pointer, "*");
        return code;
    } finally {
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

// The files HoldPictureFiles read, by path, with what each read gave.
std::map<std::string, FileBytes>& HeldFiles()
{
    static std::map<std::string, FileBytes> held;
    return held;
}

// The fetch of the file, started before, taken and told as a read.
FileBytes TakeFile(const std::string& path, std::size_t maxBytes)
{
    unsigned char* bytes = nullptr;
    int length = TakeFetch(path.c_str(), &bytes);
    if (length == FailedAhead) {
        StartFetch(path.c_str(), static_cast<double>(maxBytes), false);
        length = TakeFetch(path.c_str(), &bytes);
    }
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

} // namespace

void ReadPictureFileAhead(const std::string& path, std::size_t maxBytes)
{
    StartFetch(path.c_str(), static_cast<double>(maxBytes), true);
}

FileBytes ReadPictureFile(const std::string& path, std::size_t maxBytes)
{
    if (auto held = HeldFiles().find(path); held != HeldFiles().end())
        return held->second;
    StartFetch(path.c_str(), static_cast<double>(maxBytes), false);
    return TakeFile(path, maxBytes);
}

void HoldPictureFiles(const std::vector<std::string>& paths, std::size_t maxBytes)
{
    const std::set<std::string> files(paths.begin(), paths.end());
    for (const std::string& path : files)
        StartFetch(path.c_str(), static_cast<double>(maxBytes), false);
    for (const std::string& path : files)
        HeldFiles()[path] = TakeFile(path, maxBytes);
}

void ForgetHeldPictureFiles()
{
    HeldFiles().clear();
}

} // namespace brzdomat
