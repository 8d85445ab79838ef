// The page that plays corvan in a browser: the game module (corvan.js, the core compiled to
// WebAssembly) draws into the canvas and calls this script for everything a host does
// (web/page.h lists it). This script owns the picture's place and scale, the pointer, touch and
// keys, the clock, the files and the browser's storage, the sound and the dialogs.
//
// Address options: ?embed=1 shows only the 640x480 picture at the page's top-left corner and
// starts the game at once; ?game=FOLDER plays a game folder published on the same site (with its
// manifest.json) instead of the demo; ?silent=1 plays without music and voices; ?debug=1 prints
// every event of the game on the console; ?hold=1 loads the page without starting anything
// (for tests).

import createCorvan from "./corvan.js";
import { Dialogs } from "./page-dialogs.js";
import { Files, pickedGame, Settings, siteGame, Storage } from "./page-files.js";
import { Sound } from "./page-sound.js";

const WIDTH = 640;
const HEIGHT = 480;
const TIMER_MS = 60;
const IDLE_MS = 20;
const FRAME_MS = 1000 / 60;

// The events the game takes (web/page.h, EventKind).
const Event = {
    Idle: 1, Tick: 2, MouseMove: 3, MouseDown: 4, MouseUp: 5, KeyDown: 6, KeyUp: 7, Blur: 8,
    TextWindowDown: 9, TextWindowMove: 10, TextWindowUp: 11, ReaderSettings: 12,
};
// Keys the browser would act on itself (scroll, move the focus, save the page, go fullscreen):
// on the game's page they are the game's (web/key_map.cpp hands every key to the game's map).
const BROWSER_KEYS = new Set([" ", "ArrowUp", "ArrowDown", "ArrowLeft", "ArrowRight", "PageUp", "PageDown",
    "Home", "End", "Tab", "F11", "F12", "Enter"]);
// What a key asks of the page (Reader::HostRequest).
const HostRequest = { ToggleFullScreen: 1, Screenshot: 2, LouderMusic: 3, QuieterMusic: 4, PlayerSettings: 5 };

const options = new URLSearchParams(location.search);
const embed = options.get("embed") === "1";
const debug = options.get("debug") === "1";
const silent = options.get("silent") === "1";
const hold = options.get("hold") === "1";
const gameUrl = options.get("game") || "game/";

const $ = (id) => document.getElementById(id);
const canvas = $("picture");
const context = canvas.getContext("2d");
const image = context.createImageData(WIDTH, HEIGHT);
const textCanvas = $("text-window");
const textContext = textCanvas.getContext("2d");
const stage = $("stage");

// What the tests and the curious can see: `corvan.firstPictureAt` (milliseconds since the page
// started loading), `corvan.warnings`, `corvan.waiting()`, `corvan.setting(name)`,
// `corvan.replay(input)`.
const corvan = (window.corvan = { firstPictureAt: null, warnings: [], log: [], ended: false });

// --- The picture ---------------------------------------------------------------------------

let scale = 1;  // device pixels per game pixel, whole
let placed = { x: 0, y: 0 };
let offset = { x: 0, y: 0 };

let highlighted = null;  // the keyboard's highlight: [left, top, right, bottom] in game pixels
function layout() {
    if (embed) {
        scale = 1;
        canvas.style.width = `${WIDTH}px`;
        canvas.style.height = `${HEIGHT}px`;
        return;
    }
    // The largest whole number of device pixels a game pixel can take on this page, so that the
    // picture stays crisp; a page smaller than the picture shrinks it.
    const ratio = window.devicePixelRatio || 1;
    const room = stage.getBoundingClientRect();
    const fit = Math.min(room.width * ratio / WIDTH, room.height * ratio / HEIGHT);
    const whole = Math.floor(fit);
    const css = (whole >= 1 ? whole : fit) / ratio;
    scale = css;
    canvas.style.width = `${WIDTH * css}px`;
    canvas.style.height = `${HEIGHT * css}px`;
    textCanvas.style.width = `${textCanvas.width * css}px`;
    textCanvas.style.height = `${textCanvas.height * css}px`;
    movePicture(offset.x + placed.x, offset.y + placed.y);
    placeHighlight();
}
window.addEventListener("resize", layout);

function copyPixels(target, heap, pixels, width, left, top, right, bottom) {
    const out = target.data;
    for (let y = top; y < bottom; ++y) {
        let from = pixels + (y * width + left) * 3;
        let to = (y * width + left) * 4;
        for (let x = left; x < right; ++x, from += 3, to += 4) {
            out[to] = heap[from + 2];
            out[to + 1] = heap[from + 1];
            out[to + 2] = heap[from];
            out[to + 3] = 255;
        }
    }
}

function paint(heap, pixels, width, height, left, top, right, bottom) {
    if (right <= left || bottom <= top) return;
    copyPixels(image, heap, pixels, width, left, top, right, bottom);
    context.putImageData(image, 0, 0, left, top, right - left, bottom - top);
    if (corvan.firstPictureAt === null) corvan.firstPictureAt = performance.now();
}

function movePicture(x, y) {
    offset = { x: x - placed.x, y: y - placed.y };
    canvas.style.transform = offset.x || offset.y ? `translate(${offset.x * scale}px, ${offset.y * scale}px)` : "";
}

let lastFrame = 0;
async function nextFrame() {
    const wait = lastFrame + FRAME_MS - performance.now();
    await new Promise((resolve) => setTimeout(resolve, Math.max(0, wait)));
    lastFrame = performance.now();
}

// --- The movable message window -------------------------------------------------------------

let textWindowAt = { x: 2, y: 2 };
function showTextWindow(heap, pixels, width, height) {
    if (textCanvas.width !== width || textCanvas.height !== height) {
        textCanvas.width = width;
        textCanvas.height = height;
        layout();
    }
    const frame = textContext.createImageData(width, height);
    copyPixels(frame, heap, pixels, width, 0, 0, width, height);
    textContext.putImageData(frame, 0, 0);
    textWindowShown = true;
    textCanvas.hidden = textWindowSuppressed;
}

// The game shows or hides the window; the player hiding the frame hides it meanwhile.
let textWindowShown = false;
let textWindowSuppressed = false;
function hideTextWindow() {
    textWindowShown = false;
    textCanvas.hidden = true;
}
function suppressTextWindow(suppressed) {
    textWindowSuppressed = suppressed;
    textCanvas.hidden = suppressed || !textWindowShown;
}

// The reader's mode over the picture: 1 skipping, 2 reading on by itself.
function showReadingMark(mark) {
    const shown = $("reading-mark");
    shown.textContent = mark === 1 ? "スキップ" : mark === 2 ? "オート" : "";
    shown.hidden = mark === 0;
}

function moveTextWindow(x, y) {
    textWindowAt = { x, y };
    textCanvas.style.left = `${x * scale}px`;
    textCanvas.style.top = `${y * scale}px`;
}

// --- Events and the clock ------------------------------------------------------------------

let module = null;
const queue = [];
let busy = false;
let running = false;
let tickTimer = null;
let idleTimer = null;

function post(event) {
    if (!running) return;
    if (event.kind === Event.Idle && queue.some((queued) => queued.kind === Event.Idle)) return;
    queue.push(event);
    pump();
}

// The game takes one call at a time; what comes meanwhile waits in the queue, and the game
// takes it in its turn (or, while a transition's frame or a dialog waits, in between).
async function pump() {
    if (busy || !module) return;
    busy = true;
    try {
        while (queue.length && running) await module.ccall("corvan_pump", null, [], [], { async: true });
    } finally {
        busy = false;
    }
}

function setIdleTimer(on) {
    if (on && !idleTimer && running) idleTimer = setInterval(() => post({ kind: Event.Idle }), IDLE_MS);
    if (!on && idleTimer) {
        clearInterval(idleTimer);
        idleTimer = null;
    }
}

function stopClock() {
    running = false;
    setIdleTimer(false);
    clearInterval(tickTimer);
    tickTimer = null;
    queue.length = 0;
}

// The pointer's place in the target's own pixels.
function gamePoint(event, target) {
    const box = target.getBoundingClientRect();
    return {
        x: Math.floor((event.clientX - box.left) * target.width / box.width),
        y: Math.floor((event.clientY - box.top) * target.height / box.height),
    };
}

const BUTTONS = [0, 2, 1];  // the browser's left, middle, right -> the game's 0, 2, 1
function pointerEvents(target, kinds) {
    let pressTimer = null;
    target.addEventListener("contextmenu", (event) => event.preventDefault());
    target.addEventListener("pointerdown", (event) => {
        event.preventDefault();
        sound.wake();
        target.setPointerCapture(event.pointerId);
        const at = gamePoint(event, target);
        if (event.pointerType === "touch") {
            // A finger moves the pointer there first; held for half a second it is a right click.
            post({ kind: kinds.move, ...at });
            pressTimer = setTimeout(() => {
                pressTimer = null;
                post({ kind: kinds.down, button: 1, ...at });
                post({ kind: kinds.up, button: 1, ...at });
            }, 500);
            return;
        }
        post({ kind: kinds.down, button: BUTTONS[event.button] ?? 0, ...at });
    });
    target.addEventListener("pointermove", (event) => {
        if (event.pointerType === "touch" && pressTimer === null && !target.hasPointerCapture(event.pointerId)) return;
        post({ kind: kinds.move, ...gamePoint(event, target) });
    });
    target.addEventListener("pointerup", (event) => {
        const at = gamePoint(event, target);
        if (event.pointerType === "touch") {
            if (pressTimer === null) return;  // the long press has clicked already
            clearTimeout(pressTimer);
            pressTimer = null;
            post({ kind: kinds.down, button: 0, ...at });
        }
        post({ kind: kinds.up, button: BUTTONS[event.button] ?? 0, ...at });
    });
}

pointerEvents(canvas, { move: Event.MouseMove, down: Event.MouseDown, up: Event.MouseUp });
pointerEvents(textCanvas, { move: Event.TextWindowMove, down: Event.TextWindowDown, up: Event.TextWindowUp });
canvas.addEventListener("wheel", (event) => {
    event.preventDefault();
    post({ kind: Event.KeyDown, key: event.deltaY > 0 ? "WheelDown" : "WheelUp" });
}, { passive: false });

window.addEventListener("keydown", (event) => {
    if (dialogs.open || !running) return;
    sound.wake();
    if (BROWSER_KEYS.has(event.key) || (event.ctrlKey && event.key.toLowerCase() === "s")) event.preventDefault();
    post({ kind: Event.KeyDown, key: event.key, alt: event.altKey, control: event.ctrlKey, repeat: event.repeat });
});
window.addEventListener("keyup", (event) => post({ kind: Event.KeyUp, key: event.key }));
window.addEventListener("blur", () => post({ kind: Event.Blur }));

function hostRequest(request) {
    if (request === HostRequest.ToggleFullScreen) toggleFullScreen();
    else if (request === HostRequest.Screenshot) saveScreenshot();
    else if (request === HostRequest.LouderMusic) stepVolume(10);
    else if (request === HostRequest.QuieterMusic) stepVolume(-10);
    else if (request === HostRequest.PlayerSettings && !dialogs.open) {
        dialogs.openPlayerSettings(() => post({ kind: Event.ReaderSettings }));
    }
}

// The keyboard's choice where the game draws no highlight of its own, outlined over the picture.
// The game tells only of changes; the outline follows the picture when the page's size changes.
function showHighlight(shown, left, top, right, bottom) {
    highlighted = shown ? [left, top, right, bottom] : null;
    placeHighlight();
}

function placeHighlight() {
    const outline = $("highlight");
    outline.hidden = highlighted === null;
    if (highlighted === null) return;
    const [left, top, right, bottom] = highlighted;
    const box = canvas.getBoundingClientRect();
    const stageBox = stage.getBoundingClientRect();
    const unit = box.width / WIDTH;
    Object.assign(outline.style, {
        left: `${box.left - stageBox.left + left * unit}px`, top: `${box.top - stageBox.top + top * unit}px`,
        width: `${(right - left) * unit}px`, height: `${(bottom - top) * unit}px`,
    });
}

function toggleFullScreen() {
    if (document.fullscreenElement) document.exitFullscreen();
    else stage.requestFullscreen().catch(() => {});
}

function saveScreenshot() {
    const stamp = new Date().toISOString().replace(/[-:]/g, "").replace("T", "-").slice(0, 15);
    canvas.toBlob((blob) => download(blob, `corvan-${stamp}.png`));
}

function download(blob, name) {
    const link = document.createElement("a");
    link.href = URL.createObjectURL(blob);
    link.download = name;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 10000);
}

function stepVolume(points) {
    sound.setVolume(sound.volume + points);
    settings.write("Volume", String(sound.volume));
}

// --- What the game module calls (web/page.h) -------------------------------------------------

const storage = await Storage.open();
const settings = await Settings.load(storage);
const files = new Files();
const sound = new Sound(Number.parseInt(settings.read("Volume") || "80", 10));
let mountedGame = null;
const dialogs = new Dialogs($("dialog"), settings, (fileList) => {
    const game = pickedGame(fileList);
    if (!game) return null;
    files.game = game;
    return "/game/" + game.tree.find(["mg_data.stf"]).parts.join("/");
});

const encoder = new TextEncoder();
const page = {
    settings: {
        read(name) {
            if (name === "SaveDir") return "/save";
            if (name === "GameDir") return "/game";
            return settings.read(name);
        },
        write(name, value) {
            if (name !== "SaveDir" && name !== "GameDir") settings.write(name, value);
        },
    },
    files,
    dialogs,
    sound,
    giveBytes(bytes, lengthPointer) {
        if (bytes === null || bytes === undefined) return 0;
        const pointer = module._malloc(bytes.length + 1);
        module.HEAPU8.set(bytes, pointer);
        module.HEAP32[lengthPointer >> 2] = bytes.length;
        return pointer;
    },
    giveString(text, lengthPointer) {
        return text === null || text === undefined ? 0 : page.giveBytes(encoder.encode(text), lengthPointer);
    },
    async siteFile(name) {
        const response = await fetch(name);
        return response.ok ? new Uint8Array(await response.arrayBuffer()) : null;
    },
    paint,
    nextFrame,
    showTextWindow,
    hideTextWindow,
    suppressTextWindow,
    showReadingMark,
    textWindowPosition: () => textWindowAt,
    moveTextWindow,
    screenSize() {
        const room = stage.getBoundingClientRect();
        return { x: Math.max(WIDTH + 1, Math.floor(room.width / scale)), y: Math.max(HEIGHT + 1, Math.floor(room.height / scale)) };
    },
    placePicture(x, y) {
        placed = { x, y };
        offset = { x: 0, y: 0 };
        movePicture(x, y);
    },
    picturePosition: () => ({ x: placed.x + offset.x, y: placed.y + offset.y }),
    movePicture,
    showHighlight,
    hostRequest,
    gameEnded() {
        stopClock();
        sound.stopAll();
        corvan.ended = true;
        showMenu();
    },
    takeEvent: () => queue.shift() || null,
    setIdleTimer,
    warn(message) {
        corvan.warnings.push(message);
        console.warn("corvan:", message);
    },
    trace(line) {
        if (debug) console.log("corvan:", line);
    },
};

// --- Starting a game -----------------------------------------------------------------------

async function loadModule() {
    if (!module) module = await createCorvan({ page });
    return module;
}

// Plays `game`; its saves are kept under `saveKey`.
async function play(game, saveKey) {
    stopClock();
    await loadModule();
    await files.use(game, storage, saveKey);
    mountedGame = game;
    showGame();
    corvan.ended = false;
    running = true;
    busy = true;
    try {
        const problem = await module.ccall("corvan_start", "string", ["number"], [silent ? 1 : 0], { async: true });
        if (problem) throw new Error(problem);
    } finally {
        busy = false;
    }
    // The 60 ms timer starts once the game has started, as the desktop window's does.
    if (running) tickTimer = setInterval(() => post({ kind: Event.Tick }), TIMER_MS);
    pump();
}

function showGame() {
    $("menu").hidden = true;
    stage.hidden = false;
    layout();
}

function showMenu() {
    if (embed) {
        $("restart").hidden = false;
        return;
    }
    stage.hidden = true;
    $("menu").hidden = false;
    listSaves();
}

function failed(error) {
    stopClock();
    console.error(error);
    $("problem").textContent = String(error.message || error);
    $("problem").hidden = false;
    showMenu();
}

// The save folder of the game last played, for export and import: the desktop game reads these
// files as they are (save1.cv ... save8.cv, seen.cv, read.cv), and they come back the same way.
function listSaves() {
    const list = $("saves");
    list.replaceChildren();
    for (const [name, bytes] of files.saveFiles()) {
        const link = document.createElement("a");
        link.href = "#";
        link.textContent = name;
        link.addEventListener("click", (event) => {
            event.preventDefault();
            download(new Blob([bytes]), name);
        });
        list.append(link, " ");
    }
    $("save-panel").hidden = files.saveKey === null;
}

$("import").addEventListener("change", (event) => {
    const rejected = [];
    for (const file of event.target.files) {
        if (!/^(save[1-8]|seen|read)\.cv$/i.test(file.name)) {
            rejected.push(file.name);
            continue;
        }
        file.arrayBuffer().then((buffer) => {
            files.write("/save/" + file.name.toLowerCase(), new Uint8Array(buffer));
            listSaves();
        });
    }
    $("import-status").textContent = rejected.length ? `${rejected.join(", ")}: not a save file (save1.cv to save8.cv, seen.cv, read.cv)` : "";
    event.target.value = "";
});

$("play-demo").addEventListener("click", () => {
    sound.wake();
    siteGame(gameUrl).then((game) => play(game, "site:" + gameUrl)).catch(failed);
});
$("folder").addEventListener("change", (event) => {
    const game = pickedGame(event.target.files);
    const name = (event.target.files[0]?.webkitRelativePath || "").split("/")[0];
    event.target.value = "";
    if (!game) {
        failed(new Error(`${name}: there is no mg_data.stf in this folder`));
        return;
    }
    play(game, "folder:" + name).catch(failed);
});
$("restart").addEventListener("click", () => {
    $("restart").hidden = true;
    play(mountedGame, files.saveKey).catch(failed);
});

// --- For tests ---------------------------------------------------------------------------

corvan.waiting = () => Boolean(module) && running && !busy && queue.length === 0 &&
    module.ccall("corvan_waiting", "number", [], []) === 1;

// Plays a headless player's input script on its virtual clock, in this page, with the site's
// game, a fresh save folder and settings, and gives what corvan-replay would write.
// A stored setting, as the page keeps it.
corvan.setting = (name) => settings.read(name);

corvan.replay = async (input) => {
    stopClock();
    await loadModule();
    await files.use(await siteGame(gameUrl), storage, null);
    showGame();
    busy = true;
    try {
        const result = await module.ccall("corvan_replay", "string", ["string"], [input], { async: true });
        return JSON.parse(result);
    } finally {
        busy = false;
    }
};

document.body.classList.toggle("embed", embed);
// Until a game is picked, the save files shown are the site's game's.
await files.use(null, storage, "site:" + gameUrl);
if (hold) {
    // Nothing starts: a test drives the page.
} else if (embed) {
    siteGame(gameUrl).then((game) => play(game, "site:" + gameUrl)).catch(failed);
} else {
    showMenu();
}
