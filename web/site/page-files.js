// The game's files in the browser: the game folder ("/game") is the site's demo, a game folder
// published on the site, or a folder the player picked (its files are read where they are and
// never leave the machine); the save folder ("/save") and the settings live in the browser's
// storage (IndexedDB), one save folder for each game.

const GAME = "/game";
const SAVE = "/save";

// Names compare with only the ASCII letters folded, as the game compares them.
export function asciiLower(name) {
    return name.replace(/[A-Z]/g, (c) => c.toLowerCase());
}

function components(path) {
    return path.split(/[/\\]/).filter((part) => part !== "");
}

// A folder tree of names, built from a list of paths.
class Tree {
    constructor() {
        this.root = { children: new Map() };
    }

    add(path, file) {
        let node = this.root;
        for (const part of components(path)) {
            if (!node.children) return;
            if (!node.children.has(part)) node.children.set(part, { children: new Map() });
            node = node.children.get(part);
        }
        delete node.children;
        node.file = file;
    }

    // The node and its real path for a path whose components match in any ASCII letter case,
    // the exact name first.
    find(parts) {
        let node = this.root;
        const found = [];
        for (const part of parts) {
            if (!node.children) return null;
            let next = node.children.get(part);
            let name = part;
            if (!next) {
                const wanted = asciiLower(part);
                for (const [childName, child] of node.children) {
                    if (asciiLower(childName) === wanted) {
                        next = child;
                        name = childName;
                        break;
                    }
                }
            }
            if (!next) return null;
            node = next;
            found.push(name);
        }
        return { node, parts: found };
    }

    get(parts) {
        let node = this.root;
        for (const part of parts) {
            node = node.children && node.children.get(part);
            if (!node) return null;
        }
        return node;
    }
}

// One game's files. `read(entry, offset, length)` gives their bytes.
class GameFolder {
    constructor(entries, read) {
        this.tree = new Tree();
        for (const entry of entries) this.tree.add(entry.path, entry);
        this.readEntry = read;
        this.cache = new Map();
    }

    async read(entry, offset, length) {
        let whole = this.cache.get(entry.path);
        if (!whole) {
            whole = await this.readEntry(entry);
            // Small files are kept: the archive is read again for every chunk.
            if (whole.length <= 4 * 1024 * 1024) this.cache.set(entry.path, whole);
        }
        return whole.subarray(Math.min(offset, whole.length), Math.min(offset + length, whole.length));
    }
}

// A game folder on the site, listed by its manifest.json (written by the site's build).
export async function siteGame(url) {
    const base = url.endsWith("/") ? url : url + "/";
    const response = await fetch(base + "manifest.json");
    if (!response.ok) throw new Error(`${base}manifest.json: ${response.status} ${response.statusText}`);
    const entries = (await response.json()).map(([path, size]) => ({ path, size }));
    return new GameFolder(entries, async (entry) => {
        const file = await fetch(base + entry.path.split("/").map(encodeURIComponent).join("/"));
        if (!file.ok) throw new Error(`${entry.path}: ${file.status}`);
        return new Uint8Array(await file.arrayBuffer());
    });
}

// The files a folder picker gave (an <input webkitdirectory>): their paths start with the
// picked folder's name, which is taken off. Null when the folder has no mg_data.stf.
export function pickedGame(fileList) {
    const files = Array.from(fileList);
    const entries = files.map((file) => {
        const path = (file.webkitRelativePath || file.name).split("/").slice(1).join("/") || file.name;
        return { path, size: file.size, file };
    });
    const game = new GameFolder(entries, async (entry) => new Uint8Array(await entry.file.arrayBuffer()));
    return game.tree.find(["mg_data.stf"]) ? game : null;
}

// The browser's storage: saves by game, and the settings every game shares.
export class Storage {
    static async open() {
        const storage = new Storage();
        try {
            storage.db = await new Promise((resolve, reject) => {
                const request = indexedDB.open("corvan", 1);
                request.onupgradeneeded = () => {
                    request.result.createObjectStore("saves");
                    request.result.createObjectStore("settings");
                };
                request.onsuccess = () => resolve(request.result);
                request.onerror = () => reject(request.error);
            });
        } catch (error) {
            console.warn("corvan: the browser's storage cannot be opened; nothing is kept:", error);
            storage.db = null;
        }
        return storage;
    }

    async all(store, prefix) {
        if (!this.db) return new Map();
        const range = IDBKeyRange.bound(prefix, prefix + "\uffff");
        const transaction = this.db.transaction(store, "readonly");
        const [keys, values] = await Promise.all([
            requestResult(transaction.objectStore(store).getAllKeys(range)),
            requestResult(transaction.objectStore(store).getAll(range)),
        ]);
        return new Map(keys.map((key, i) => [key.slice(prefix.length), values[i]]));
    }

    // Each record is put whole by one transaction: a save is in the storage whole or not at all.
    put(store, key, value) {
        if (!this.db) return Promise.resolve();
        const transaction = this.db.transaction(store, "readwrite");
        transaction.objectStore(store).put(value, key);
        return transactionDone(transaction);
    }
}

function requestResult(request) {
    return new Promise((resolve, reject) => {
        request.onsuccess = () => resolve(request.result);
        request.onerror = () => reject(request.error);
    });
}

function transactionDone(transaction) {
    return new Promise((resolve, reject) => {
        transaction.oncomplete = () => resolve();
        transaction.onerror = () => reject(transaction.error);
        transaction.onabort = () => reject(transaction.error);
    });
}

// The settings store: the desktop's values by name (in any letter case), kept in the storage.
export class Settings {
    constructor(storage, values, persistent) {
        this.storage = storage;
        this.values = values;
        this.persistent = persistent;
    }

    static async load(storage) {
        return new Settings(storage, await storage.all("settings", ""), true);
    }

    read(name) {
        const value = this.values.get(asciiLower(name));
        return value === undefined ? null : value;
    }

    write(name, value) {
        this.values.set(asciiLower(name), value);
        if (this.persistent) {
            this.storage.put("settings", asciiLower(name), value).catch((error) =>
                console.warn(`corvan: the setting ${name} was not kept:`, error));
        }
    }
}

// The files the game sees: "/game/..." and "/save/...".
export class Files {
    constructor() {
        this.game = null;
        this.saves = new Map();  // file name -> bytes
        this.saveKey = null;     // the storage's prefix for this game's saves; null: not kept
        this.storage = null;
        this.onSaved = () => {};
    }

    // The game and its save folder: `saveKey` names the game's saves in `storage` (null keeps
    // them in memory only).
    async use(game, storage, saveKey) {
        this.game = game;
        this.storage = storage;
        this.saveKey = saveKey;
        this.saves = saveKey === null ? new Map() : await storage.all("saves", saveKey + "/");
    }

    split(path) {
        const parts = components(path);
        const top = "/" + (parts.shift() || "");
        return { top, parts };
    }

    find(base, relative) {
        const { top, parts } = this.split(base + "/" + relative);
        if (top === GAME && this.game) {
            const found = this.game.tree.find(parts);
            return found ? [GAME, ...found.parts].join("/") : null;
        }
        if (top === SAVE) {
            if (parts.length === 0) return SAVE;
            if (parts.length !== 1) return null;
            if (this.saves.has(parts[0])) return SAVE + "/" + parts[0];
            const wanted = asciiLower(parts[0]);
            for (const name of this.saves.keys()) {
                if (asciiLower(name) === wanted) return SAVE + "/" + name;
            }
        }
        return null;
    }

    status(path) {
        const { top, parts } = this.split(path);
        if (top === GAME && this.game) {
            const node = this.game.tree.get(parts);
            if (!node) return { exists: false, file: false, readable: false, size: 0 };
            const file = Boolean(node.file);
            return { exists: true, file, readable: file, size: file ? node.file.size : 0 };
        }
        if (top === SAVE) {
            if (parts.length === 0) return { exists: true, file: false, readable: false, size: 0 };
            const bytes = parts.length === 1 ? this.saves.get(parts[0]) : undefined;
            if (bytes) return { exists: true, file: true, readable: true, size: bytes.length };
        }
        return { exists: false, file: false, readable: false, size: 0 };
    }

    async read(path, offset, length) {
        const { top, parts } = this.split(path);
        try {
            if (top === GAME && this.game) {
                const node = this.game.tree.get(parts);
                return node && node.file ? await this.game.read(node.file, offset, length) : null;
            }
            if (top === SAVE && parts.length === 1) {
                const bytes = this.saves.get(parts[0]);
                return bytes ? bytes.subarray(Math.min(offset, bytes.length), Math.min(offset + length, bytes.length)) : null;
            }
        } catch (error) {
            console.warn(`corvan: ${path} cannot be read:`, error);
        }
        return null;
    }

    // Null when written, else why not.
    write(path, bytes) {
        const { top, parts } = this.split(path);
        if (top !== SAVE || parts.length !== 1) return `${path}: the game writes only into its save folder`;
        const name = parts[0];
        this.saves.set(name, bytes);
        if (this.saveKey !== null) {
            this.storage.put("saves", this.saveKey + "/" + name, bytes)
                .then(() => this.onSaved(name))
                .catch((error) => console.warn(`corvan: ${name} was not kept in the browser's storage:`, error));
        } else {
            this.onSaved(name);
        }
        return null;
    }

    // The save folder's files, for export.
    saveFiles() {
        return Array.from(this.saves.entries()).sort(([a], [b]) => a.localeCompare(b));
    }
}
