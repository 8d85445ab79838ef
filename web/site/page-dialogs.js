// The game's dialogs on the page: its message boxes, its settings dialog (the desktop's five
// groups, every click stored at once) and the folder picker that stands for its file dialog.
// One dialog is open at a time, over the picture; the game waits for it (`poll`).

const ICONS = ["⛔", "⚠", "ℹ"];  // MessageIcon: Stop, Exclamation, Information

// The groups of the settings dialog: caption, setting, items.
const SETTINGS = [
    ["テキスト枠", "TextWind", ["固定", "移動"]],
    ["文字表示速度", "Delay", ["通常", "高速"]],
    ["ＢＧＭ", "BGM", ["あり", "なし"]],
    ["音声", "Wave", ["あり", "なし"]],
    ["グラフィック表示方法", "GMode", ["通常", "少し高速", "エフェクトなし"]],
];

function element(tag, attributes = {}, ...children) {
    const node = document.createElement(tag);
    for (const [name, value] of Object.entries(attributes)) {
        if (name.startsWith("on")) node.addEventListener(name.slice(2), value);
        else node.setAttribute(name, value);
    }
    for (const child of children) node.append(child);
    return node;
}

export class Dialogs {
    constructor(overlay, settings, onFolder) {
        this.overlay = overlay;
        this.settings = settings;
        this.onFolder = onFolder;  // (FileList) => the archive's path in the mounted game, or null
        this.answer = -1;
        this.waiters = [];
        this.archive = "";
    }

    get open() {
        return !this.overlay.hidden;
    }

    show(box, focus) {
        this.answer = -1;
        this.overlay.replaceChildren(box);
        this.overlay.hidden = false;
        if (focus) focus.focus();
    }

    close(answer) {
        this.overlay.hidden = true;
        this.overlay.replaceChildren();
        this.answer = answer;
        for (const wake of this.waiters.splice(0)) wake();
    }

    // The answer once the dialog is closed (0 OK, 1 Cancel), or -1 after `milliseconds`.
    async poll(milliseconds) {
        if (this.open) {
            await new Promise((resolve) => {
                const timer = setTimeout(resolve, milliseconds);
                this.waiters.push(() => {
                    clearTimeout(timer);
                    resolve();
                });
            });
        }
        return this.open ? -1 : this.answer;
    }

    buttons(withCancel, okLabel = "OK") {
        const ok = element("button", { onclick: () => this.close(0) }, okLabel);
        const row = element("div", { class: "buttons" }, ok);
        if (withCancel) row.append(element("button", { onclick: () => this.close(1) }, "キャンセル"));
        return { row, ok };
    }

    keys(box, withCancel) {
        box.addEventListener("keydown", (event) => {
            event.stopPropagation();
            if (event.key === "Escape") this.close(withCancel ? 1 : 0);
        });
    }

    openMessage(caption, text, icon, buttons) {
        const withCancel = buttons === 1;
        const { row, ok } = this.buttons(withCancel);
        const box = element("div", { class: "box", role: "alertdialog" },
            element("div", { class: "caption" }, caption),
            element("div", { class: "message" }, element("span", { class: "icon" }, ICONS[icon] || ""),
                element("p", {}, text)),
            row);
        this.keys(box, withCancel);
        this.show(box, ok);
    }

    openSettings() {
        const groups = SETTINGS.map(([caption, name, items]) => {
            const stored = Number.parseInt(this.settings.read(name) || "0", 10) || 0;
            const chosen = Math.min(stored, items.length - 1);
            return element("fieldset", {}, element("legend", {}, caption),
                ...items.map((item, index) => {
                    const input = element("input", { type: "radio", name, value: String(index) });
                    input.checked = index === chosen;
                    input.addEventListener("change", () => this.settings.write(name, String(index)));
                    return element("label", {}, input, item);
                }));
        });
        const { row, ok } = this.buttons(false, "閉じる");
        const box = element("div", { class: "box settings", role: "dialog" },
            element("div", { class: "caption" }, "システム設定"), element("div", { class: "groups" }, ...groups), row);
        this.keys(box, false);
        this.show(box, ok);
    }

    // The reader's own settings (the desktop's 環境設定 without what a browser does itself:
    // the page's size and the volume keys). Every change is stored at once and `onChange` runs.
    openPlayerSettings(onChange) {
        const speed = element("input", { type: "range", min: "1", max: "10", step: "1" });
        speed.value = String(Math.min(10, Math.max(1, Number.parseInt(this.settings.read("AutoSpeed") || "5", 10) || 5)));
        speed.addEventListener("change", () => {
            this.settings.write("AutoSpeed", speed.value);
            onChange();
        });
        const skipUnread = (this.settings.read("SkipUnread") || "0") === "1" ? 1 : 0;
        const skipItems = ["読んだページだけ", "まだ読んでいないページも"].map((item, index) => {
            const input = element("input", { type: "radio", name: "SkipUnread", value: String(index) });
            input.checked = index === skipUnread;
            input.addEventListener("change", () => {
                this.settings.write("SkipUnread", String(index));
                onChange();
            });
            return element("label", {}, input, item);
        });
        const { row, ok } = this.buttons(false, "閉じる");
        const box = element("div", { class: "box settings", role: "dialog" },
            element("div", { class: "caption" }, "環境設定"),
            element("div", { class: "groups" },
                element("fieldset", {}, element("legend", {}, "オートの速さ"),
                    element("label", { class: "slider" }, "遅い", speed, "速い")),
                element("fieldset", {}, element("legend", {}, "スキップ"), ...skipItems)),
            row);
        this.keys(box, false);
        this.show(box, ok);
    }

    // The file dialog of the game: a browser gives folders, not paths, so the player picks the
    // folder that holds the game's files.
    openFolderPicker(initialName) {
        this.archive = "";
        const input = element("input", { type: "file", webkitdirectory: "", hidden: "" });
        const status = element("p", { class: "status" });
        input.addEventListener("change", () => {
            const archive = this.onFolder(input.files);
            if (archive) {
                this.archive = archive;
                this.close(0);
            } else {
                status.textContent = `${initialName} がありません。`;
            }
        });
        const pick = element("button", { onclick: () => input.click() }, "フォルダを選ぶ…");
        const row = element("div", { class: "buttons" }, pick,
            element("button", { onclick: () => this.close(1) }, "キャンセル"));
        const box = element("div", { class: "box", role: "dialog" },
            element("div", { class: "caption" }, "ゲームファイル"),
            element("p", {}, `${initialName} のあるフォルダを選んでください。`), status, input, row);
        this.keys(box, true);
        this.show(box, pick);
    }

    pickedArchive() {
        return this.archive;
    }
}
