"use strict";
// What the web page's tests and its benchmark share: what the build says of the program, a
// static web server of their own on 127.0.0.1 that records every request, headless Chromium
// started as the brief for the page asks (a fresh profile, software WebGL, no network of its
// own), screenshots as plain RGB pixels, libjpeg's djpeg, and the search for a picture's exact
// pixels on a screenshot.

const childProcess = require("child_process");
const fs = require("fs");
const http = require("http");
const os = require("os");
const path = require("path");
const puppeteer = require("puppeteer-core");

// The program-facts.json that CMake makes in the build folder, named by BRZDOMAT_PROGRAM_FACTS:
// the main window's client area, the picture's place and size in it, the picture folder and
// names, the counts. Asking for a fact it does not hold throws, so that a misspelt name cannot
// quietly compare with undefined.
let facts = null;
function programFacts() {
    if (!facts) {
        const file = process.env.BRZDOMAT_PROGRAM_FACTS;
        if (!file)
            throw new Error("BRZDOMAT_PROGRAM_FACTS does not name the build's program-facts.json");
        facts = new Proxy(JSON.parse(fs.readFileSync(file, "utf8")), {
            get(read, name) {
                if (typeof name === "string" && !(name in read))
                    throw new Error(`${file} has no ${name}`);
                return read[name];
            },
        });
    }
    return facts;
}

// The file name of a question's picture, as the program's printf format makes it.
function pictureName(test, question) {
    const numbers = [test, question];
    return programFacts().pictureNameFormat.replace(/%d/g, () => String(numbers.shift()));
}

const contentTypes = {
    ".html": "text/html; charset=utf-8",
    ".js": "text/javascript; charset=utf-8",
    ".css": "text/css; charset=utf-8",
    ".wasm": "application/wasm",
    ".png": "image/png",
    ".jpg": "image/jpeg",
    ".txt": "text/plain; charset=utf-8",
};

// Serves each URL prefix from its folder, GET and HEAD only. quirks maps a URL path to what the
// server does instead of serving it plainly: "held" answers only once release(path) is called
// (the test decides when the file comes, however slow the machine), "reset" drops the
// connection, "busy-once" answers 503 (Service Unavailable) the first time and serves the file
// after, { length: n } claims a body of n bytes and sends it only as far as asked.
function serve(folders, quirks = {}) {
    const requests = [];
    const busyOnce = new Set();
    const held = new Map();
    const server = http.createServer((request, response) => {
        const url = new URL(request.url, "http://127.0.0.1");
        requests.push({ method: request.method, path: url.pathname, at: Date.now() });
        const quirk = quirks[url.pathname];
        const limits = typeof quirk === "object" ? quirk : {};
        if (quirk === "reset") {
            request.socket.destroy();
            return;
        }
        if (quirk === "busy-once" && !busyOnce.has(url.pathname)) {
            busyOnce.add(url.pathname);
            response.writeHead(503).end();
            return;
        }
        const send = () => {
            if (request.method !== "GET" && request.method !== "HEAD") {
                response.writeHead(405).end();
                return;
            }
            if (limits.length) {
                response.writeHead(200, { "Content-Type": "image/jpeg",
                    "Content-Length": limits.length });
                const piece = Buffer.alloc(65536, 0xff);
                let left = limits.length;
                const write = () => {
                    while (left > 0 && !request.socket.destroyed) {
                        const next = piece.subarray(0, Math.min(left, piece.length));
                        left -= next.length;
                        if (!response.write(next)) {
                            response.once("drain", write);
                            return;
                        }
                    }
                    if (left === 0)
                        response.end();
                };
                response.on("error", () => { });
                write();
                return;
            }
            for (const [prefix, folder] of Object.entries(folders)) {
                if (!url.pathname.startsWith(prefix))
                    continue;
                const relative = decodeURIComponent(url.pathname.slice(prefix.length));
                const file = path.resolve(folder, relative);
                if (!file.startsWith(path.resolve(folder) + path.sep))
                    break;
                fs.stat(file, (error, status) => {
                    if (error || !status.isFile()) {
                        response.writeHead(404).end();
                        return;
                    }
                    response.writeHead(200, {
                        "Content-Type": contentTypes[path.extname(file)]
                            || "application/octet-stream",
                        "Content-Length": status.size,
                        "Cache-Control": "no-cache",
                    });
                    if (request.method === "HEAD")
                        response.end();
                    else
                        fs.createReadStream(file).pipe(response);
                });
                return;
            }
            response.writeHead(404).end();
        };
        if (quirk === "held" && held.get(url.pathname) !== "released")
            held.set(url.pathname, send);
        else
            send();
    });
    return new Promise((resolve) => {
        server.listen(0, "127.0.0.1", () => {
            resolve({
                origin: `http://127.0.0.1:${server.address().port}`,
                requests,
                release: (pathname) => {
                    const send = held.get(pathname);
                    held.set(pathname, "released");
                    if (typeof send === "function")
                        send();
                },
                close: () => new Promise((done) => {
                    server.closeAllConnections();
                    server.close(done);
                }),
            });
        });
    });
}

// Chromium with a profile of its own that is thrown away, drawing WebGL in software, fetching
// nothing by itself, and with every host name but 127.0.0.1 unresolvable, so that a request to
// anywhere else fails instead of leaving the machine.
async function launch({ width = 1280, height = 900, extraArguments = [], dumpio = false } = {}) {
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), "brzdomat-chromium-"));
    const browser = await puppeteer.launch({
        executablePath: process.env.BRZDOMAT_CHROMIUM || "/usr/bin/chromium",
        headless: true,
        dumpio,
        userDataDir: profile,
        defaultViewport: { width, height, deviceScaleFactor: 1 },
        args: [
            "--headless", "--no-sandbox", "--disable-gpu", "--enable-unsafe-swiftshader",
            "--use-angle=swiftshader", "--disable-background-networking",
            "--disable-component-update", "--disable-sync", "--no-first-run",
            "--force-color-profile=srgb", "--host-resolver-rules=MAP * ~NOTFOUND, EXCLUDE 127.0.0.1",
            `--window-size=${width},${height}`, ...extraArguments,
        ],
    });
    const close = async () => {
        await browser.close();
        fs.rmSync(profile, { recursive: true, force: true });
    };
    return { browser, close };
}

// Width, height and three bytes a pixel, rows without padding.
function rgbFromPng(png) {
    const width = png.readUInt32BE(16);
    const height = png.readUInt32BE(20);
    const pixels = childProcess.execFileSync("convert", ["png:-", "-depth", "8", "rgb:-"],
        { input: png, maxBuffer: width * height * 3 + 1024 });
    return { width, height, pixels };
}

async function screenshot(page, saveAs) {
    const png = Buffer.from(await page.screenshot({ type: "png", captureBeyondViewport: false }));
    if (saveAs)
        fs.writeFileSync(saveAs, png);
    return rgbFromPng(png);
}

function readImage(file) {
    return rgbFromPng(childProcess.execFileSync("convert", [file, "png:-"],
        { maxBuffer: 64 << 20 }));
}

// djpeg's own decoding of a JPEG file, with the floating-point inverse DCT.
function djpeg(program, file) {
    const ppm = childProcess.execFileSync(program, ["-dct", "float", "-pnm", file],
        { maxBuffer: 64 << 20 });
    const header = ppm.toString("latin1", 0, 64).match(/^P6\s+(\d+)\s+(\d+)\s+255\s/);
    if (!header)
        throw new Error(`djpeg gave no colour picture for ${file}`);
    const width = Number(header[1]);
    const height = Number(header[2]);
    return { width, height, pixels: ppm.subarray(header[0].length) };
}

function pixel(image, x, y) {
    const at = (y * image.width + x) * 3;
    return [image.pixels[at], image.pixels[at + 1], image.pixels[at + 2]];
}

// The first pixel of the width x height region of image at (imageX, imageY) that differs from
// the screen at (screenX, screenY), as text; null when all are equal.
function firstDifference(screen, screenX, screenY, image, imageX, imageY, width, height) {
    if (screenX < 0 || screenY < 0 || screenX + width > screen.width
        || screenY + height > screen.height)
        return "outside the screen";
    for (let y = 0; y < height; ++y) {
        const screenRow = ((screenY + y) * screen.width + screenX) * 3;
        const imageRow = ((imageY + y) * image.width + imageX) * 3;
        if (screen.pixels.compare(image.pixels, imageRow, imageRow + width * 3, screenRow,
            screenRow + width * 3) !== 0) {
            for (let x = 0; x < width; ++x) {
                const a = pixel(screen, screenX + x, screenY + y);
                const b = pixel(image, imageX + x, imageY + y);
                if (a.join() !== b.join())
                    return `pixel ${imageX + x},${imageY + y}: ${a} on the screen, ${b} in the picture`;
            }
        }
    }
    return null;
}

// Where the top-left width x height pixels of image stand exactly on the screen; null if
// nowhere. A row from the middle of the region is looked for first, then the whole region.
function find(screen, image, width = image.width, height = image.height) {
    const probeY = Math.floor(height / 2);
    const probe = image.pixels.subarray(probeY * image.width * 3,
        probeY * image.width * 3 + width * 3);
    for (let y = probeY; y <= screen.height - height + probeY; ++y) {
        const row = screen.pixels.subarray(y * screen.width * 3, (y + 1) * screen.width * 3);
        for (let start = row.indexOf(probe); start >= 0; start = row.indexOf(probe, start + 1)) {
            if (start % 3 !== 0)
                continue;
            const x = start / 3;
            if (x + width > screen.width)
                break;
            if (!firstDifference(screen, x, y - probeY, image, 0, 0, width, height))
                return { x, y: y - probeY };
        }
    }
    return null;
}

// Repeats check (which returns a value, or null to go on) until it gives a value or the time is
// up; then throws with what was awaited.
async function waitFor(what, check, seconds = 20, pause = 100) {
    const end = Date.now() + seconds * 1000;
    for (;;) {
        const value = await check();
        if (value !== null && value !== undefined && value !== false)
            return value;
        if (Date.now() > end)
            throw new Error(`waited ${seconds} s in vain for ${what}`);
        await new Promise((resume) => setTimeout(resume, pause));
    }
}

// The active title bar's colour, as the page's platform draws it.
const titleBarColour = [48, 140, 198];
const isTitle = (screen, x, y) => pixel(screen, x, y).every(
    (value, channel) => Math.abs(value - titleBarColour[channel]) <= 12);

// The title bars on the screen, as { x, y, width } of their outline: runs of the active title
// bar's colour at least minimum pixels long, joined with the runs of the row above that they
// overlap (the title's text breaks a bar's rows into pieces).
function titleBars(screen, minimum) {
    const bars = [];
    for (let y = 0; y < screen.height; ++y) {
        let run = 0;
        for (let x = 0; x <= screen.width; ++x) {
            if (x < screen.width && isTitle(screen, x, y)) {
                ++run;
                continue;
            }
            if (run >= minimum) {
                const left = x - run;
                // A row's runs broken by the caption's letters all belong to the bar above them,
                // also when an earlier run of the row has already reached it.
                const bar = bars.find((each) => each.bottom >= y - 1 && left < each.x + each.width
                    && x > each.x);
                if (bar) {
                    const right = Math.max(bar.x + bar.width, x);
                    bar.x = Math.min(bar.x, left);
                    bar.width = right - bar.x;
                    bar.bottom = y;
                } else {
                    bars.push({ x: left, y, width: run, bottom: y });
                }
            }
            run = 0;
        }
    }
    return bars;
}

module.exports = { programFacts, pictureName, serve, launch, screenshot, readImage, djpeg, pixel,
    firstDifference, find, waitFor, isTitle, titleBars };
