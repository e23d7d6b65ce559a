"use strict";
// Starts Brzdomat in its page: loads the program beside the page and gives it the page's screen
// element. When the program ends (its window closed) or fails, its screen goes and the page says
// so, with a button that starts it again from the beginning, as a new start of the desktop
// program would. The page stores nothing and asks for nothing but the files beside it.

(function () {
    const program = "Brzdomat";
    const screen = document.getElementById("screen");
    const message = document.getElementById("message");
    const messageText = document.getElementById("message-text");
    const restart = document.getElementById("restart");

    function say(text, offerRestart) {
        messageText.textContent = text;
        restart.hidden = !offerRestart;
        message.hidden = false;
    }

    let ended = false;
    function end(text) {
        if (ended)
            return;
        ended = true;
        screen.remove();
        say(text, true);
        restart.focus();
    }

    restart.addEventListener("click", () => location.reload());

    // While a test runs, a reload or a step away asks first: the browser shows its own question,
    // since a page may not word it.
    function askFirst(event) {
        event.preventDefault();
        event.returnValue = "";
    }

    // Qt draws its window in the page's own pixels. On a page smaller than the window (frame and
    // margin included), the program's screen is made as much larger than the page as the window
    // needs and shown scaled down to the page, so the whole window stays in view. Below a scale
    // of 0.4 the texts could not be read any more; the window is cut instead.
    const smallestScale = 0.4;
    let needed = null;
    function fit() {
        if (!needed)
            return;
        const scale = Math.max(smallestScale,
            Math.min(1, innerWidth / needed.width, innerHeight / needed.height));
        const style = screen.style;
        if (scale === 1) {
            style.width = style.height = style.transform = style.transformOrigin = "";
            return;
        }
        style.width = `${Math.ceil(innerWidth / scale)}px`;
        style.height = `${Math.ceil(innerHeight / scale)}px`;
        style.transformOrigin = "0 0";
        style.transform = `scale(${scale})`;
        // Qt measures its screen with getBoundingClientRect, which gives the size as shown,
        // after the scaling; it must get the canvas's own size. (Its pointer positions come
        // from offsetX and offsetY, which are in the canvas's own pixels already.)
        for (const canvas of screen.querySelectorAll("canvas")) {
            canvas.getBoundingClientRect = function () {
                const shown = Element.prototype.getBoundingClientRect.call(this);
                return new DOMRect(shown.x, shown.y, this.clientWidth, this.clientHeight);
            };
        }
    }
    addEventListener("resize", fit);

    // The question's picture over the whole page, as large as the page allows: two fingers zoom
    // it (up to four times) and one moves it; a tap, Escape or the browser's Back closes it.
    let pictureShown = false;
    function showPicture(pixels, width, height, name) {
        // The picture covers the program, so no second one can be asked for meanwhile.
        if (pictureShown)
            return;
        pictureShown = true;
        const overlay = document.createElement("div");
        overlay.id = "picture";
        overlay.setAttribute("role", "dialog");
        overlay.setAttribute("aria-label", name || "obrázek otázky");
        overlay.tabIndex = -1;
        const canvas = document.createElement("canvas");
        canvas.width = width;
        canvas.height = height;
        const rgba = new Uint8ClampedArray(width * height * 4);
        for (let from = 0, to = 0; to < rgba.length; from += 3, to += 4) {
            rgba[to] = pixels[from];
            rgba[to + 1] = pixels[from + 1];
            rgba[to + 2] = pixels[from + 2];
            rgba[to + 3] = 255;
        }
        canvas.getContext("2d").putImageData(new ImageData(rgba, width, height), 0, 0);
        const fitted = Math.min(innerWidth / width, innerHeight / height);
        canvas.style.width = `${Math.floor(width * fitted)}px`;
        canvas.style.height = `${Math.floor(height * fitted)}px`;
        overlay.appendChild(canvas);
        document.body.appendChild(overlay);
        overlay.focus();

        let zoom = 1, left = 0, top = 0, moved = false, gesture = null;
        const fingers = new Map();
        const place = () => {
            canvas.style.transform = `translate(${left}px, ${top}px) scale(${zoom})`;
        };
        // Where the gesture started, so that each move is measured from there.
        const begin = () => {
            const points = [...fingers.values()];
            gesture = { points, zoom, left, top };
            if (points.length === 2)
                gesture.spread = Math.hypot(points[0].x - points[1].x, points[0].y - points[1].y);
        };
        overlay.addEventListener("pointerdown", (event) => {
            overlay.setPointerCapture(event.pointerId);
            fingers.set(event.pointerId, { x: event.clientX, y: event.clientY });
            if (fingers.size > 1)
                moved = true;
            begin();
        });
        overlay.addEventListener("pointermove", (event) => {
            if (!fingers.has(event.pointerId))
                return;
            fingers.set(event.pointerId, { x: event.clientX, y: event.clientY });
            const points = [...fingers.values()];
            if (points.length === 2 && gesture.spread) {
                const spread = Math.hypot(points[0].x - points[1].x, points[0].y - points[1].y);
                zoom = Math.min(4, Math.max(1, gesture.zoom * spread / gesture.spread));
            } else if (points.length === 1) {
                const shiftX = points[0].x - gesture.points[0].x;
                const shiftY = points[0].y - gesture.points[0].y;
                if (Math.hypot(shiftX, shiftY) > 10)
                    moved = true;
                if (zoom > 1) {
                    left = gesture.left + shiftX;
                    top = gesture.top + shiftY;
                }
            }
            if (zoom === 1)
                left = top = 0;
            place();
        });
        const lift = (event) => {
            if (!fingers.delete(event.pointerId))
                return;
            if (fingers.size > 0) {
                begin();
                return;
            }
            if (!moved)
                history.back();
            moved = false;
        };
        overlay.addEventListener("pointerup", lift);
        overlay.addEventListener("pointercancel", lift);
        overlay.addEventListener("keydown", (event) => {
            if (event.key === "Escape")
                history.back();
        });
        // Back closes the picture, not the page: the picture has a place in the history.
        history.pushState({ picture: true }, "");
        const close = () => {
            removeEventListener("popstate", close);
            overlay.remove();
            pictureShown = false;
            screen.querySelector("canvas")?.focus();
        };
        addEventListener("popstate", close);
    }

    if (typeof WebAssembly !== "object") {
        say("Tento prohlížeč neumí WebAssembly, a Brzdomat v něm proto nepoběží. "
            + "Otevřete stránku v současném prohlížeči (Firefox, Chrome, Edge, Safari).", false);
        return;
    }

    // Qt draws with WebGL; without it the program would start and show nothing.
    const probe = document.createElement("canvas");
    if (!probe.getContext("webgl2") && !probe.getContext("webgl")) {
        say("Tento prohlížeč nemá zapnuté WebGL, a Brzdomat v něm proto nepoběží. Zapněte "
            + "v prohlížeči hardwarovou akceleraci nebo otevřete stránku v jiném prohlížeči.",
            false);
        return;
    }

    // The download's progress, said once a tenth of a megabyte, with one formatter: the pieces come by the hundred, and
    // the main thread unpacks them meanwhile.
    const decimal = new Intl.NumberFormat("cs-CZ",
        { minimumFractionDigits: 1, maximumFractionDigits: 1 });
    const megabytes = (bytes) => decimal.format(bytes / 1e6);
    let progressShown = -1;
    function showProgress(received, total) {
        const tenths = Math.floor(received / 1e5);
        if (tenths === progressShown || message.hidden || !restart.hidden)
            return;
        progressShown = tenths;
        messageText.textContent = "Načítá se program Brzdomat… " + megabytes(received)
            + (total >= received ? " z " + megabytes(total) : "") + " MB";
    }
    // The program's WebAssembly, fetched at once beside its script. A plain static server sends
    // files as they lie, so the page brings it packed with Zstandard too (17.7 MB become 4.8) and
    // unpacks it as it comes in, with a decoder of its own (no browser unpacks Zstandard by
    // itself), while the browser compiles it. A server without the packed file or the decoder
    // gets the plain one asked for. A server that declares the packed file's encoding has the
    // browser unpack it already: the first bytes tell.
    async function fetchDecoder() {
        const response = await fetch("brzdomat-unzstd.wasm");
        if (!response.ok)
            throw new Error(response.status + " " + response.statusText);
        const { instance } = await WebAssembly.instantiate(await response.arrayBuffer(),
            { env: { emscripten_notify_memory_growth: () => { } } });
        instance.exports._initialize();
        return instance.exports;
    }
    // Each piece in, what it unpacks to out; a damaged or cut file fails the stream.
    function unpacking(decoder) {
        if (!decoder.unzstd_begin())
            throw new Error("no memory to unpack the program");
        const outputSize = decoder.unzstd_output_size();
        return new TransformStream({
            transform(piece, controller) {
                if (!piece.length)
                    return;
                const at = decoder.unzstd_input(piece.length);
                if (!at)
                    throw new Error("no memory to unpack the program");
                // The decoder's memory may grow with each call, and its old view go with it.
                new Uint8Array(decoder.memory.buffer, at, piece.length).set(piece);
                for (;;) {
                    const made = decoder.unzstd_step();
                    if (made < 0)
                        throw new Error(program + ".wasm.zst is damaged");
                    if (made > 0)
                        controller.enqueue(new Uint8Array(decoder.memory.buffer,
                            decoder.unzstd_output(), made).slice());
                    if (!decoder.unzstd_input_left() && made < outputSize)
                        break;
                }
            },
            flush() {
                if (!decoder.unzstd_finished())
                    throw new Error(program + ".wasm.zst is cut short");
            },
        });
    }
    async function fetchProgram(packedWanted) {
        let response = null;
        let unpacker = null;
        if (packedWanted) {
            const decoder = fetchDecoder();
            decoder.catch(() => { });
            response = await fetch(program + ".wasm.zst").catch(() => null);
            unpacker = response?.ok ? await decoder.catch(() => null) : null;
            if (!unpacker) {
                response?.body?.cancel();
                response = null;
            }
        }
        if (!response)
            response = await fetch(program + ".wasm");
        if (!response.ok)
            throw new Error(response.status + " " + response.statusText);
        const total = Number(response.headers.get("Content-Length")) || 0;
        const reader = response.body.getReader();
        let received = 0;
        const first = await reader.read();
        const counted = new ReadableStream({
            start(controller) {
                if (!first.done) {
                    received += first.value.length;
                    showProgress(received, total);
                    controller.enqueue(first.value);
                }
            },
            async pull(controller) {
                const { done, value } = await reader.read();
                if (done) {
                    controller.close();
                    return;
                }
                received += value.length;
                showProgress(received, total);
                controller.enqueue(value);
            },
            cancel: (reason) => reader.cancel(reason),
        });
        const magic = [0x28, 0xb5, 0x2f, 0xfd];
        const packed = unpacker && !first.done
            && magic.every((byte, index) => first.value[index] === byte);
        const body = packed ? counted.pipeThrough(unpacking(unpacker)) : counted;
        const file = new Response(body, { headers: { "Content-Type": "application/wasm" } });
        file.brzdomatPacked = Boolean(unpacker);
        return file;
    }
    const programFile = fetchProgram(true);
    // The page's script must not fail on a rejection nobody waits for yet.
    programFile.catch(() => { });

    const script = document.createElement("script");
    script.src = program + ".js";
    script.addEventListener("error", () => {
        say("Program Brzdomat se nepodařilo načíst (chybí soubor " + program
            + ".js vedle této stránky?).", true);
    });
    script.addEventListener("load", () => {
        createQtAppInstance({
            qtContainerElements: [screen],
            // The program names itself after its file, as on the desktop.
            thisProgram: "./" + program,
            locateFile: (file) => file,
            instantiateWasm: (imports, receive) => {
                const compile = (file) => WebAssembly.instantiateStreaming(file, imports);
                // A packed file that does not unpack (an upload cut short, say) leaves the plain
                // one to try.
                programFile
                    .then((file) => compile(file).catch((error) => {
                        if (!file.brzdomatPacked)
                            throw error;
                        return fetchProgram(false).then(compile);
                    }))
                    .then((result) => receive(result.instance, result.module),
                        () => end("Program Brzdomat se nepodařilo načíst (chybí soubor " + program
                            + ".wasm vedle této stránky, nebo jej server posílá jako jiný druh "
                            + "souboru?)."));
                return {};
            },
            brzdomatFitPage: (width, height) => {
                needed = { width, height };
                fit();
            },
            brzdomatShowPicture: showPicture,
            brzdomatEnded: () => {
                removeEventListener("beforeunload", askFirst);
                end("Program Brzdomat skončil.");
            },
            brzdomatTestRuns: (runs) => {
                if (runs)
                    addEventListener("beforeunload", askFirst);
                else
                    removeEventListener("beforeunload", askFirst);
            },
            onAbort: () => end("Program Brzdomat skončil chybou."),
        }).then(() => {
            if (!ended)
                message.hidden = true;
        }, () => end("Program Brzdomat se nepodařilo spustit (chybí soubor " + program
            + ".wasm vedle této stránky, nebo jej server posílá jako jiný druh souboru?)."));
    });
    document.head.appendChild(script);
})();
