// A static file server for the site on 127.0.0.1, on a free port, for the browser's tests and
// figures. Only files below the site's folder are served.

import { createReadStream, statSync } from "node:fs";
import { createServer } from "node:http";
import { extname, join, normalize, sep } from "node:path";

const TYPES = {
    ".html": "text/html; charset=utf-8",
    ".js": "text/javascript",
    ".css": "text/css",
    ".json": "application/json",
    ".wasm": "application/wasm",
};

export function startServer(folder) {
    const root = normalize(folder + sep);
    const server = createServer((request, response) => {
        const path = decodeURIComponent(new URL(request.url, "http://localhost").pathname);
        const file = normalize(join(root, path === "/" ? "index.html" : path));
        let size = -1;
        try {
            if (file.startsWith(root)) size = statSync(file).isFile() ? statSync(file).size : -1;
        } catch {
            size = -1;
        }
        if (size < 0) {
            response.writeHead(404).end();
            return;
        }
        response.writeHead(200, {
            "Content-Type": TYPES[extname(file)] || "application/octet-stream",
            "Content-Length": size,
            "Cache-Control": "no-store",
        });
        createReadStream(file).pipe(response);
    });
    return new Promise((resolve) => {
        server.listen(0, "127.0.0.1", () => {
            resolve({
                url: `http://127.0.0.1:${server.address().port}`,
                close: () => new Promise((done) => server.close(done)),
            });
        });
    });
}
