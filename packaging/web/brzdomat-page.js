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
            brzdomatFitPage: (width, height) => {
                needed = { width, height };
                fit();
            },
            brzdomatEnded: () => end("Program Brzdomat skončil."),
            onAbort: () => end("Program Brzdomat skončil chybou."),
        }).then(() => {
            if (!ended)
                message.hidden = true;
        }, () => end("Program Brzdomat se nepodařilo spustit (chybí soubor " + program
            + ".wasm vedle této stránky, nebo jej server posílá jako jiný druh souboru?)."));
    });
    document.head.appendChild(script);
})();
