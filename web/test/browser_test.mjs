// The browser's game checked in Debian's Chromium, headless: the demo's golden runs
// (tests/golden/NAME.input) played in the page on the headless player's virtual clock must give
// the native golden files (NAME.log, NAME.frames, NAME.state.json) byte for byte, and the first
// screen the page shows in real time must be the headless player's first screen, pixel for pixel.
//
//   node browser_test.mjs --site DIR --npm DIR --replay CORVAN_REPLAY --demo GAMEDIR --golden DIR
//                        [--shots DIR]   (where to keep screenshots to look at)
//
// --npm is the folder whose node_modules holds playwright-core. Exits 1 when anything differs.

import { execFileSync } from "node:child_process";
import { mkdtempSync, readdirSync, readFileSync, rmSync } from "node:fs";
import { createRequire } from "node:module";
import { tmpdir } from "node:os";
import { join, resolve } from "node:path";
import { startServer } from "./static_server.mjs";

const args = {};
for (let i = 2; i < process.argv.length; i += 2) args[process.argv[i].replace(/^--/, "")] = process.argv[i + 1];
for (const name of ["site", "npm", "replay", "demo", "golden"]) {
    if (!args[name]) {
        console.error(`browser_test: --${name} is missing`);
        process.exit(2);
    }
}
const { chromium } = createRequire(resolve(args.npm, "package.json"))("playwright-core");

const work = mkdtempSync(join(tmpdir(), "corvan-browser-"));
const server = await startServer(args.site);
let context = null;
let failures = 0;

function fail(message) {
    console.log(`FAIL ${message}`);
    ++failures;
}

// The first lines where two texts differ, as a short report.
function firstDifference(expected, actual) {
    const a = expected.split("\n");
    const b = actual.split("\n");
    for (let i = 0; i < Math.max(a.length, b.length); ++i) {
        if (a[i] !== b[i]) return `line ${i + 1}: expected ${JSON.stringify(a[i])}, got ${JSON.stringify(b[i])}`;
    }
    return "";
}

try {
    context = await chromium.launchPersistentContext(join(work, "profile"), {
        executablePath: "/usr/bin/chromium",
        headless: true,
        viewport: { width: 1024, height: 768 },
        deviceScaleFactor: 1,
        args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
            "--disable-background-networking", "--disable-component-update", "--disable-sync"],
    });
    const page = await context.newPage();
    page.on("pageerror", (error) => fail(`page error: ${error.message}`));

    // The golden runs, each in a fresh page on the virtual clock.
    const inputs = readdirSync(args.golden).filter((name) => name.endsWith(".input")).sort();
    if (inputs.length === 0) fail(`no .input files in ${args.golden}`);
    for (const input of inputs) {
        const name = input.replace(/\.input$/, "");
        await page.goto(`${server.url}/index.html?embed=1&hold=1`);
        await page.waitForFunction(() => window.corvan && window.corvan.replay);
        const script = readFileSync(join(args.golden, input), "utf8");
        const result = await page.evaluate((text) => window.corvan.replay(text), script);
        if (result.error) {
            fail(`${name}: ${result.error}`);
            continue;
        }
        if (result.problems.length) fail(`${name}: ${result.problems.join("; ")}`);
        const got = {
            log: result.log.map((line) => line + "\n").join(""),
            frames: result.frames.map((line) => line + "\n").join(""),
            "state.json": result.state,
        };
        let same = true;
        for (const kind of ["log", "frames", "state.json"]) {
            const expected = readFileSync(join(args.golden, `${name}.${kind}`), "utf8");
            if (got[kind] !== expected) {
                fail(`${name}: ${name}.${kind} differs in the browser: ${firstDifference(expected, got[kind])}`);
                same = false;
            }
        }
        const warnings = await page.evaluate(() => window.corvan.warnings);
        if (warnings.length) fail(`${name}: the page warned: ${warnings.join("; ")}`);
        if (same) console.log(`ok   ${name} (${result.frames.length} frames)`);
    }

    // The first screen: the page in real time against the headless player.
    const shot = join(work, "first.png");
    execFileSync(args.replay, ["--save", join(work, "save"), "--shot", shot, args.demo], { stdio: "ignore" });
    await page.goto(`${server.url}/index.html?embed=1`);
    await page.waitForFunction(() => window.corvan && window.corvan.waiting && window.corvan.waiting(),
        null, { timeout: 60000, polling: 100 });
    const firstPicture = await page.evaluate(() => window.corvan.firstPictureAt);
    const browser = await page.screenshot({ clip: { x: 0, y: 0, width: 640, height: 480 } });
    const compared = await page.evaluate(async ([a, b]) => {
        async function pixels(base64) {
            const blob = await (await fetch(`data:image/png;base64,${base64}`)).blob();
            const bitmap = await createImageBitmap(blob);
            const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
            const context = canvas.getContext("2d");
            context.drawImage(bitmap, 0, 0);
            return { width: bitmap.width, height: bitmap.height, data: context.getImageData(0, 0, bitmap.width, bitmap.height).data };
        }
        const [native, page] = [await pixels(a), await pixels(b)];
        if (native.width !== page.width || native.height !== page.height) {
            return { size: `${native.width}x${native.height} against ${page.width}x${page.height}` };
        }
        let differ = 0;
        let first = null;
        for (let i = 0; i < native.data.length; i += 4) {
            if (native.data[i] !== page.data[i] || native.data[i + 1] !== page.data[i + 1] || native.data[i + 2] !== page.data[i + 2]) {
                ++differ;
                if (first === null) first = { x: (i / 4) % native.width, y: Math.floor(i / 4 / native.width) };
            }
        }
        return { differ, first };
    }, [readFileSync(shot).toString("base64"), browser.toString("base64")]);
    if (compared.size) {
        fail(`first screen: the sizes differ, ${compared.size}`);
    } else if (compared.differ) {
        fail(`first screen: ${compared.differ} pixels differ from the headless player's, the first at (${compared.first.x}, ${compared.first.y})`);
    } else {
        console.log(`ok   first screen, pixel for pixel (first picture ${Math.round(firstPicture)} ms after the page started loading)`);
    }

    // The reader's settings: `o` opens the page's 環境設定, and a change is stored at once.
    await page.keyboard.press("o");
    const caption = await page.waitForSelector("#dialog .caption", { timeout: 10000 });
    const captionText = await caption.textContent();
    if (captionText !== "環境設定") {
        fail(`the o key opened "${captionText}", not the reader's settings`);
    } else {
        await page.click("#dialog input[name=SkipUnread][value='1']");
        if (args.shots) await page.screenshot({ path: join(args.shots, "player-settings.png") });
        await page.click("#dialog button");
        const stored = await page.evaluate(() => window.corvan.setting("SkipUnread"));
        if (stored !== "1") fail(`SkipUnread after the settings window: ${stored}`);
        else console.log("ok   the reader's settings window");
    }
} catch (error) {
    fail(error.stack || String(error));
} finally {
    if (context) await context.close();
    await server.close();
    rmSync(work, { recursive: true, force: true });
}
process.exit(failures ? 1 : 0);
