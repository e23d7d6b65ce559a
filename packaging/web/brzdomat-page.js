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

    if (typeof WebAssembly !== "object") {
        say("Tento prohlížeč neumí WebAssembly, a Brzdomat v něm proto nepoběží. "
            + "Otevřete stránku v současném prohlížeči (Firefox, Chrome, Edge, Safari).", false);
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
