// The browser build's figures, in Debian's Chromium, headless: the site's size and the core's
// wasm, the time from the page starting to load until the game's first picture shows (the
// median of five fresh loads), and the CPU that Chromium (every one of its processes) uses over
// ten seconds while the game waits at its title: silent, with the demo's music playing, and, for
// comparison, on an empty page and on a page that only keeps the sound output going. Run after scripts/web-build:
//
//   node bench/web_figures.mjs [--site build-web/site] [--npm build-web/npm] [--seconds 10]

import { readdirSync, readFileSync, statSync } from "node:fs";
import { createRequire } from "node:module";
import { join, resolve } from "node:path";
import { startServer } from "../web/test/static_server.mjs";

const args = { site: "build-web/site", npm: "build-web/npm", seconds: "10" };
for (let i = 2; i < process.argv.length; i += 2) args[process.argv[i].replace(/^--/, "")] = process.argv[i + 1];
const { chromium } = createRequire(resolve(args.npm, "package.json"))("playwright-core");
const seconds = Number(args.seconds);

function folderBytes(folder) {
    let total = 0;
    for (const name of readdirSync(folder)) {
        const path = join(folder, name);
        total += statSync(path).isDirectory() ? folderBytes(path) : statSync(path).size;
    }
    return total;
}

const mb = (bytes) => `${(bytes / 1e6).toFixed(1)} MB`;
console.log(`site: ${mb(folderBytes(args.site))} (fonts ${mb(folderBytes(join(args.site, "fonts")))}, ` +
    `game ${mb(folderBytes(join(args.site, "game")))}, synthesiser and soundfont ${mb(folderBytes(join(args.site, "synth")))})`);
console.log(`core wasm: ${mb(statSync(join(args.site, "corvan.wasm")).size)}, its JavaScript ` +
    `${mb(statSync(join(args.site, "corvan.js")).size)}`);

const server = await startServer(args.site);
const flags = ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync"];

// CPU seconds of a process and all its descendants, from /proc.
function treeCpuSeconds(root) {
    const parents = new Map();
    const cpu = new Map();
    for (const name of readdirSync("/proc")) {
        if (!/^\d+$/.test(name)) continue;
        try {
            const stat = readFileSync(`/proc/${name}/stat`, "utf8");
            const fields = stat.slice(stat.lastIndexOf(")") + 2).split(" ");
            parents.set(Number(name), Number(fields[1]));
            cpu.set(Number(name), (Number(fields[11]) + Number(fields[12])) / 100);
        } catch {
            // The process has gone meanwhile.
        }
    }
    let total = 0;
    for (const [pid, seconds] of cpu) {
        for (let p = pid; p; p = parents.get(p)) {
            if (p === root) {
                total += seconds;
                break;
            }
        }
    }
    return total;
}

async function withBrowser(extraFlags, work) {
    const browserServer = await chromium.launchServer({ executablePath: "/usr/bin/chromium", headless: true, args: [...flags, ...extraFlags] });
    try {
        const browser = await chromium.connect(browserServer.wsEndpoint());
        return await work(browser, browserServer.process().pid);
    } finally {
        await browserServer.close();
    }
}

// First picture: fresh browser, nothing cached.
const times = [];
for (let i = 0; i < 5; ++i) {
    await withBrowser([], async (browser) => {
        const page = await browser.newPage();
        await page.goto(`${server.url}/index.html?embed=1`);
        await page.waitForFunction(() => window.corvan && window.corvan.firstPictureAt !== null, null, { polling: 10 });
        times.push(await page.evaluate(() => window.corvan.firstPictureAt));
    });
}
times.sort((a, b) => a - b);
console.log(`first picture: ${Math.round(times[2])} ms after the page started loading (median; ` +
    `${times.map(Math.round).join(", ")})`);

async function idleCpu(url, label, extraFlags = []) {
    await withBrowser(extraFlags, async (browser, pid) => {
        const page = await browser.newPage();
        await page.goto(url);
        if (url.includes("index.html")) {
            await page.waitForFunction(() => window.corvan.waiting && window.corvan.waiting(), null, { polling: 100 });
        }
        await page.waitForTimeout(2000);
        const before = treeCpuSeconds(pid);
        await page.waitForTimeout(seconds * 1000);
        const used = treeCpuSeconds(pid) - before;
        console.log(`${label}: ${(100 * used / seconds).toFixed(1)} % of one core over ${seconds} s`);
    });
}

await idleCpu("about:blank", "Chromium on an empty page");
await idleCpu("data:text/html,<script>const c = new AudioContext(); const g = c.createGain(); g.gain.value = 0; " +
    "const o = c.createOscillator(); o.connect(g).connect(c.destination); o.start();</script>",
    "Chromium playing a silent tone (its sound output alone)", ["--autoplay-policy=no-user-gesture-required"]);
await idleCpu(`${server.url}/index.html?embed=1&silent=1`, "the game waiting at its title, silent");
await idleCpu(`${server.url}/index.html?embed=1`, "the game waiting at its title, its music playing",
    ["--autoplay-policy=no-user-gesture-required"]);
await server.close();
