"use strict";
// The browser's half of bench/web-page-bench, which says what is measured. Prints one line a
// figure, "name=value".
//
// Usage: node web_page_bench.js WEB-BUILD WORK-DIR ROUNDS   (NODE_PATH with puppeteer-core,
// BRZDOMAT_PROGRAM_FACTS the web build's program-facts.json)

const fs = require("fs");
const path = require("path");
const zlib = require("zlib");
const driver = require(path.join(__dirname, "..", "tests", "testsupport", "page_driver.js"));
// The picture's place in the client area, the pictures' folder and names, and the counts.
const facts = driver.programFacts();
const picture = facts.picture;
const served = (folder) => `/${folder}/${facts.pictureFolder}/`;

const [web, work, roundsText] = process.argv.slice(2);
const rounds = Number(roundsText);

// Before any script of the page: the time of the first WebGL draw, and, once armed with a pixel
// and a colour, the time of the first frame after which that pixel of the canvas has the colour.
// The time a click's release reached the page comes from the event itself. All times are the
// page's performance.now(), counted from the navigation.
function instrument() {
    window.brzdomatBench = { firstDraw: null, probe: null, arrived: null, released: null };
    const bench = window.brzdomatBench;
    window.addEventListener("pointerup", (event) => { bench.released = event.timeStamp; },
        { capture: true });
    let context = null;
    for (const kind of [window.WebGLRenderingContext, window.WebGL2RenderingContext]) {
        if (!kind)
            continue;
        for (const name of ["drawArrays", "drawElements"]) {
            const original = kind.prototype[name];
            kind.prototype[name] = function (...rest) {
                const result = original.apply(this, rest);
                if (bench.firstDraw === null)
                    bench.firstDraw = performance.now();
                context = this;
                return result;
            };
        }
    }
    // Qt draws a frame in an animation frame's callback: once it has run, the probe's pixel is
    // read back (once a frame, so that reading does not slow each draw).
    const request = window.requestAnimationFrame.bind(window);
    window.requestAnimationFrame = (callback) => request((time) => {
        callback(time);
        const probe = bench.probe;
        if (!probe || bench.arrived !== null || !context)
            return;
        const pixel = new Uint8Array(4);
        context.readPixels(probe.x, context.drawingBufferHeight - 1 - probe.y, 1, 1,
            context.RGBA, context.UNSIGNED_BYTE, pixel);
        if (probe.colour.every((value, index) => Math.abs(value - pixel[index]) < 40))
            bench.arrived = performance.now();
    });
}

function median(values) {
    const sorted = [...values].sort((a, b) => a - b);
    const middle = Math.floor(sorted.length / 2);
    return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

const pause = (ms) => new Promise((resume) => setTimeout(resume, ms));

// One fresh browser for one load of a page: milliseconds from the navigation to the first draw.
async function firstDraw(server, page) {
    const { browser, close } = await driver.launch();
    try {
        const tab = (await browser.pages())[0];
        await tab.evaluateOnNewDocument(instrument);
        await tab.goto(`${server.origin}${page}`);
        return await driver.waitFor("the first draw", () =>
            tab.evaluate(() => window.brzdomatBench.firstDraw), 60, 20);
    } finally {
        await close();
    }
}

// The top-left corner of the first picture's red square on the screen.
function redSquare(screen) {
    const red = (x, y) => {
        const [r, g, b] = driver.pixel(screen, x, y);
        return r > 215 && g < 40 && b < 40;
    };
    for (let y = 1; y + 20 < screen.height; ++y) {
        for (let x = 1; x + 20 < screen.width; ++x) {
            if (!red(x, y) || red(x - 1, y) || red(x, y - 1))
                continue;
            let whole = true;
            for (let dy = 0; dy < 20 && whole; ++dy)
                for (let dx = 0; dx < 20 && whole; ++dx)
                    whole = red(x + dx, y + dy);
            if (whole)
                return { x, y };
        }
    }
    return null;
}

// A student's first visit over a school's plain server: 1.5 MB/s with 150 ms of latency, an
// empty cache. Milliseconds from the navigation until the download's progress is first shown,
// and until the main window is there alone, after the splash, to be used.
async function firstVisit(server, page) {
    const { browser, close } = await driver.launch();
    try {
        const tab = (await browser.pages())[0];
        await tab.emulateNetworkConditions({ download: 1.5e6, upload: 1.5e6, latency: 150 });
        await tab.evaluateOnNewDocument(() => {
            window.brzdomatProgress = null;
            new MutationObserver(() => {
                const text = document.getElementById("message-text");
                if (window.brzdomatProgress === null && text && /MB$/.test(text.textContent))
                    window.brzdomatProgress = performance.now();
            }).observe(document, { subtree: true, childList: true, characterData: true });
        });
        const started = Date.now();
        await tab.goto(`${server.origin}${page}`, { waitUntil: "domcontentloaded" });
        // The main window's title bar, and no other: the splash has gone with its own.
        await driver.waitFor("the main window alone", async () => {
            const bars = driver.titleBars(await driver.screenshot(tab), 60);
            return bars.length === 1 && bars[0].width >= 600;
        }, 120, 50);
        const usable = Date.now() - started;
        const progress = await tab.evaluate(() => window.brzdomatProgress);
        return { usable, progress };
    } finally {
        await close();
    }
}

// What a page's files weigh as the page fetches them from a server that does not compress: the
// packed program as it lies, instead of the plain one, and the rest as a compressing server
// would send it.
function downloadSize(folder) {
    const files = fs.readdirSync(folder).filter((file) => !file.endsWith(".txt"));
    return files.filter((file) => !files.includes(`${file}.zst`)).reduce((sum, file) => {
        const bytes = fs.readFileSync(path.join(folder, file));
        return sum + (file.endsWith(".zst") ? bytes.length : zlib.gzipSync(bytes, { level: 9 }).length);
    }, 0);
}

async function confirmToNextPicture(server, answers) {
    const { browser, close } = await driver.launch();
    try {
        const page = (await browser.pages())[0];
        await page.evaluateOnNewDocument(instrument);
        await page.goto(`${server.origin}/brzdomat/brzdomat.html`);
        const found = await driver.waitFor("test 7 on screen", async () => {
            await pause(500);
            await page.focus("#screen canvas");
            for (const key of ["t", "v"]) {
                if (key === "t")
                    await page.keyboard.down("Alt");
                await page.keyboard.press(key);
                if (key === "t")
                    await page.keyboard.up("Alt");
            }
            for (let down = 0; down < 6; ++down)
                await page.keyboard.press("ArrowDown");
            await page.keyboard.press("Enter");
            await pause(500);
            return redSquare(await driver.screenshot(page));
        }, 60, 200);
        const client = { x: found.x - picture.x, y: found.y - picture.y };
        const samples = [];
        const fetchStarts = [];
        const fetchEnds = [];
        for (let question = 1; question < facts.questionsPerTest; ++question) {
            for (const letter of answers[question - 1]) {
                const row = "ABCD".indexOf(letter);
                await page.mouse.click(client.x + 96, client.y + 126 + 16 * row);
            }
            await pause(150);
            const colour = (question + 1) % 2 ? [255, 0, 0, 255] : [0, 0, 255, 255];
            await page.evaluate((probe) => {
                Object.assign(window.brzdomatBench, { probe, arrived: null, released: null });
            }, { x: client.x + picture.x + 8, y: client.y + picture.y + 8, colour });
            await page.mouse.click(client.x + 60, client.y + 204);
            const times = await driver.waitFor(`the picture of 7/${question + 1}`, () =>
                page.evaluate((name) => {
                    const bench = window.brzdomatBench;
                    if (bench.arrived === null)
                        return null;
                    const fetched = performance.getEntriesByType("resource")
                        .filter((entry) => entry.name.endsWith(name)).pop();
                    return [bench.released, bench.arrived, fetched.startTime, fetched.responseEnd];
                }, `/${facts.pictureFolder}/${driver.pictureName(7, question + 1)}`), 20, 5);
            samples.push(times[1] - times[0]);
            fetchStarts.push(times[2] - times[0]);
            fetchEnds.push(times[3] - times[0]);
            await pause(150);
        }
        return { samples, fetchStarts, fetchEnds };
    } finally {
        await close();
    }
}

// The draws of the program's generator from its start, as test numbers: the tests a random
// selection takes its positions from, when it is the first command of a fresh page.
function selectionTests(count) {
    let seed = 0;
    const tests = [];
    for (let draw = 0; draw < count; ++draw) {
        seed = (Math.imul(seed, 134775813) + 1) >>> 0;
        tests.push(Math.floor((facts.testCount * seed) / 4294967296) + 1);
    }
    return tests;
}

// Confirming a right answer at a school's server, 150 ms away, in a whole test (test 7) and in
// the random selection of 25: milliseconds from the click's release until the next question's
// picture is on the screen, a sample for each of questions 2 to 25. Every picture of question q
// is test 7's card q, so the square's colour tells the next picture whatever its test.
async function confirmAtLatency(server, key, menuKeys) {
    const { browser, close } = await driver.launch();
    try {
        const page = (await browser.pages())[0];
        await page.emulateNetworkConditions({ download: -1, upload: -1, latency: 150 });
        await page.evaluateOnNewDocument(instrument);
        await page.goto(`${server.origin}/brzdomat/brzdomat.html`);
        // Every file of the page comes 150 ms late, so the canvas comes later than on a plain
        // connection.
        await page.waitForSelector("#screen canvas", { timeout: 120000 });
        const found = await driver.waitFor("the first question on screen", async () => {
            await pause(500);
            await page.focus("#screen canvas");
            await page.keyboard.down("Alt");
            await page.keyboard.press("t");
            await page.keyboard.up("Alt");
            for (const key of menuKeys)
                await page.keyboard.press(key);
            await pause(1000);
            return redSquare(await driver.screenshot(page));
        }, 90, 200);
        const client = { x: found.x - picture.x, y: found.y - picture.y };
        const tests = menuKeys.length === 1 ? selectionTests(facts.questionsPerTest)
            : Array(facts.questionsPerTest).fill(7);
        const samples = [];
        for (let question = 1; question < facts.questionsPerTest; ++question) {
            for (const letter of key[tests[question - 1]][question - 1]) {
                const row = "ABCD".indexOf(letter);
                await page.mouse.click(client.x + 96, client.y + 126 + 16 * row);
            }
            // Time to answer, as a student takes it and more: the fetch ahead has its round trip.
            await pause(400);
            const colour = (question + 1) % 2 ? [255, 0, 0, 255] : [0, 0, 255, 255];
            await page.evaluate((probe) => {
                Object.assign(window.brzdomatBench, { probe, arrived: null, released: null });
            }, { x: client.x + picture.x + 8, y: client.y + picture.y + 8, colour });
            await page.mouse.click(client.x + 60, client.y + 204);
            const times = await driver.waitFor(`the picture of question ${question + 1}`, () =>
                page.evaluate(() => {
                    const bench = window.brzdomatBench;
                    return bench.arrived === null ? null : [bench.released, bench.arrived];
                }), 20, 5);
            samples.push(times[1] - times[0]);
            await pause(150);
        }
        return median(samples);
    } finally {
        await close();
    }
}

async function main() {
    const server = await driver.serve({
        [served("brzdomat")]: path.join(work, facts.pictureFolder),
        "/brzdomat/": path.join(web, "page"),
        "/minimal/": path.join(work, "minimal"),
        [served("plain")]: path.join(work, facts.pictureFolder),
        "/plain/": path.join(work, "plain"),
    });
    try {
        const program = [];
        const minimal = [];
        for (let round = 0; round < rounds; ++round) {
            minimal.push(await firstDraw(server, "/minimal/brzdomat.html"));
            program.push(await firstDraw(server, "/brzdomat/brzdomat.html"));
        }
        console.log(`start_program_ms=${median(program).toFixed(1)}`);
        console.log(`start_minimal_ms=${median(minimal).toFixed(1)}`);
        console.log(`start_program_best_ms=${Math.min(...program).toFixed(1)}`);
        console.log(`start_minimal_best_ms=${Math.min(...minimal).toFixed(1)}`);
        const visits = { packed: [], plain: [] };
        for (let round = 0; round < 5; ++round) {
            visits.plain.push(await firstVisit(server, "/plain/brzdomat.html"));
            visits.packed.push(await firstVisit(server, "/brzdomat/brzdomat.html"));
        }
        for (const [name, runs] of Object.entries(visits)) {
            console.log(`visit_${name}_usable_ms=${median(runs.map((run) => run.usable)).toFixed(0)}`);
            console.log(`visit_${name}_progress_ms=${median(runs.map((run) => run.progress)).toFixed(0)}`);
        }
        console.log(`download_bytes=${downloadSize(path.join(web, "page"))}`);
        console.log(`download_minimal_bytes=${downloadSize(path.join(work, "minimal"))}`);
        const answers = fs.readFileSync(path.join(work, "answers"), "utf8").trim().split("\n");
        const { samples, fetchStarts, fetchEnds } = await confirmToNextPicture(server, answers);
        console.log(`confirm_to_picture_ms=${median(samples).toFixed(2)}`);
        // Where that time goes: the picture's request starts, and its last byte is in.
        console.log(`confirm_to_fetch_start_ms=${median(fetchStarts).toFixed(2)}`);
        console.log(`confirm_to_fetch_end_ms=${median(fetchEnds).toFixed(2)}`);
        // The whole key, a row a test in two halves: the test's number, then its questions.
        const key = {};
        for (const line of fs.readFileSync(path.join(work, "key"), "utf8").split("\n")) {
            const [number, ...letters] = line.trim().split(/\s+/);
            if (/^\d+$/.test(number))
                key[number] = (key[number] || []).concat(letters);
        }
        const wholeTest = ["v", "ArrowDown", "ArrowDown", "ArrowDown", "ArrowDown", "ArrowDown",
            "ArrowDown", "Enter"];
        console.log(`latency_whole_test_ms=${(await confirmAtLatency(server, key, wholeTest)).toFixed(2)}`);
        console.log(`latency_random_selection_ms=${(await confirmAtLatency(server, key, ["o"])).toFixed(2)}`);
    } finally {
        await server.close();
    }
}

main().catch((error) => {
    console.error(error.message);
    process.exit(1);
});
