#include "bank/picture_file.h"

#include <emscripten.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

// In a browser the program's file system has the page's folder for its root: the start directory
// is "/", and a picture's path names a file beside the page, which is fetched from the page's
// own server when the question is shown, or earlier when the program names it as the next
// question's while this one is answered, so that confirming draws the next picture without
// waiting for the network (still read anew for every showing, as on a desktop, and a failure of
// a fetch ahead is fetched once more before it is told). The browser must have its thread back
// while a fetch is on its way, so the program asks for the files first and reads them once they
// are in (HoldPictureFiles). Meanwhile the user's input waits and is delivered afterwards, as
// nothing the user does reaches a desktop program while it reads a file.

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

// Once the fetch of the file has ended, hands its outcome to brzdomat_picture_arrived: a count
// of bytes with the bytes, in memory of the program's for it to free, or a failure above.
EM_JS(void, WhenFetched, (const char* path, int batch, int index), {
    let name = UTF8ToString(path);
    while (name.startsWith("/"))
        name = name.slice(1);
    const fetches = Module.brzdomatFetches;
    const fetching = fetches.get(name);
    fetches.delete(name);
    fetching.result.then((outcome) => {
        let code = outcome.code;
        let pointer = 0;
        if (code < 0 && fetching.ahead)
            code = -4;
        if (code > 0) {
            pointer = _malloc(code);
            if (!pointer)
                code = -2;
            let offset = pointer;
            for (const piece of pointer ? outcome.pieces : []) {
                HEAPU8.set(piece, offset);
                offset += piece.length;
            }
        }
        _brzdomat_picture_arrived(batch, index, code, pointer);
    });
});

// Holds back the user's input from the program until as many releases as holds have come; what
// was held is then delivered, once the program has gone on.
EM_JS(void, HoldInput, (), {
    const input = Module.brzdomatHeldInput || (Module.brzdomatHeldInput = { holds: 0, held: [],
        kinds: ["pointerdown", "pointerup", "pointermove", "pointerenter", "pointerleave",
            "mousedown", "mouseup", "mousemove", "click", "dblclick", "contextmenu", "wheel",
            "keydown", "keyup", "keypress", "touchstart", "touchend", "touchmove", "touchcancel"],
        hold: (event) => {
            input.held.push(event);
            event.stopImmediatePropagation();
            event.preventDefault();
        } });
    if (input.holds++ > 0)
        return;
    for (const kind of input.kinds)
        window.addEventListener(kind, input.hold, { capture: true, passive: false });
});

EM_JS(void, ReleaseInput, (), {
    const input = Module.brzdomatHeldInput;
    if (--input.holds > 0)
        return;
    for (const kind of input.kinds)
        window.removeEventListener(kind, input.hold, { capture: true });
    const held = input.held;
    input.held = [];
    setTimeout(() => {
        for (const event of held)
            event.target.dispatchEvent(new event.constructor(event.type, event));
    });
});
// clang-format on

// The files HoldPictureFiles read, by path, with what each read gave.
std::map<std::string, FileBytes>& HeldFiles()
{
    static std::map<std::string, FileBytes> held;
    return held;
}

// The files asked for together, told when all are in.
struct Batch {
    std::vector<std::string> Paths;
    std::size_t MaxBytes = 0;
    std::size_t Missing = 0;
    std::function<void()> Then;
};

std::map<int, Batch>& Batches()
{
    static std::map<int, Batch> batches;
    return batches;
}

FileBytes ReadOutcome(int length, unsigned char* bytes)
{
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

// Called from the page's script, from the browser's event loop, once a fetch has ended.
extern "C" EMSCRIPTEN_KEEPALIVE void brzdomat_picture_arrived(
    int batchId, int index, int length, unsigned char* bytes)
{
    Batch& batch = Batches().at(batchId);
    const std::string& path = batch.Paths.at(static_cast<std::size_t>(index));
    if (length == FailedAhead) {
        StartFetch(path.c_str(), static_cast<double>(batch.MaxBytes), false);
        WhenFetched(path.c_str(), batchId, index);
        return;
    }
    try {
        HeldFiles()[path] = ReadOutcome(length, bytes);
    } catch (...) {
        // Without memory for the entry the read fails, as it would on a desktop.
    }
    if (--batch.Missing > 0)
        return;
    std::function<void()> then = std::move(batch.Then);
    Batches().erase(batchId);
    // The input held meanwhile goes to the program once it has gone on from the read.
    ReleaseInput();
    then();
}

void ReadPictureFileAhead(const std::string& path, std::size_t maxBytes)
{
    StartFetch(path.c_str(), static_cast<double>(maxBytes), true);
}

FileBytes ReadPictureFile(const std::string& path, std::size_t)
{
    if (auto held = HeldFiles().find(path); held != HeldFiles().end())
        return held->second;
    return FileFailure(DecodeFailure::FileNotReadable, "not fetched first");
}

bool HoldPictureFiles(
    const std::vector<std::string>& paths, std::size_t maxBytes, std::function<void()> then)
{
    // One holder at a time: what an abandoned holder held goes.
    ForgetHeldPictureFiles();
    const std::set<std::string> files(paths.begin(), paths.end());
    if (files.empty())
        return false;
    static int lastBatch = 0;
    const int batchId = ++lastBatch;
    Batch& batch = Batches()[batchId];
    batch.Paths.assign(files.begin(), files.end());
    batch.MaxBytes = maxBytes;
    batch.Missing = batch.Paths.size();
    batch.Then = std::move(then);
    HoldInput();
    for (const std::string& path : batch.Paths)
        StartFetch(path.c_str(), static_cast<double>(maxBytes), false);
    for (std::size_t index = 0; index < batch.Paths.size(); ++index)
        WhenFetched(batch.Paths[index].c_str(), batchId, static_cast<int>(index));
    return true;
}

void ForgetHeldPictureFiles()
{
    HeldFiles().clear();
}

} // namespace brzdomat
