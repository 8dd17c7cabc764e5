// Headless Chromium driven over its DevTools protocol (Node's built-in WebSocket): open a
// page, evaluate expressions in it, take screenshots. Each run gets a fresh profile folder.
import { spawn } from "node:child_process";
import fs from "node:fs";
import path from "node:path";

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

export const CHROMIUM = process.env.MDN_CHROMIUM || "/usr/bin/chromium-headless-shell";

// Debian's command is a shell script that starts the browser as its child, and the browser
// starts helpers: a group of its own lets one signal end them all.
function killGroup(child, signal) {
  try { process.kill(-child.pid, signal); } catch { /* already gone */ }
}

export class Browser {
  static async open(url, profile, { width = 1280, height = 800 } = {}) {
    fs.rmSync(profile, { recursive: true, force: true });
    fs.mkdirSync(profile, { recursive: true });
    const child = spawn(CHROMIUM, [
      "--headless", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
      "--disable-component-update", "--no-first-run", "--hide-scrollbars",
      `--user-data-dir=${profile}`, "--remote-debugging-port=0",
      `--window-size=${width},${height}`, "about:blank",
    ], { stdio: ["ignore", "ignore", "pipe"], detached: true });
    child.stderr.pipe(fs.createWriteStream(path.join(profile, "..", "chromium.log")));
    process.once("exit", () => killGroup(child, "SIGKILL"));
    const portFile = path.join(profile, "DevToolsActivePort");
    const deadline = Date.now() + 20000;
    while (!fs.existsSync(portFile) || fs.readFileSync(portFile, "utf8").split("\n").length < 2) {
      if (Date.now() > deadline || child.exitCode !== null) {
        killGroup(child, "SIGKILL");
        throw new Error("headless Chromium did not start (see chromium.log)");
      }
      await sleep(50);
    }
    const port = fs.readFileSync(portFile, "utf8").split("\n")[0].trim();
    const targets = await (await fetch(`http://127.0.0.1:${port}/json/list`)).json();
    const page = targets.find((t) => t.type === "page");
    const browser = new Browser(child, new WebSocket(page.webSocketDebuggerUrl));
    await new Promise((resolve, reject) => {
      browser.ws.onopen = resolve;
      browser.ws.onerror = () => reject(new Error("cannot reach the page's DevTools socket"));
    });
    await browser.send("Page.enable");
    await browser.send("Emulation.setDeviceMetricsOverride",
      { width, height, deviceScaleFactor: 1, mobile: false });
    await browser.send("Page.navigate", { url });
    return browser;
  }

  constructor(child, ws) {
    this.child = child;
    this.ws = ws;
    this.nextId = 1;
    this.waiting = new Map();
    ws.onmessage = (event) => {
      const message = JSON.parse(event.data);
      const w = this.waiting.get(message.id);
      if (!w) return;
      this.waiting.delete(message.id);
      if (message.error) w.reject(new Error(message.error.message));
      else w.resolve(message.result);
    };
  }

  send(method, params = {}) {
    const id = this.nextId++;
    return new Promise((resolve, reject) => {
      this.waiting.set(id, { resolve, reject });
      this.ws.send(JSON.stringify({ id, method, params }));
    });
  }

  // The value of an expression in the page (awaited when it is a promise).
  async evaluate(expression) {
    const r = await this.send("Runtime.evaluate",
      { expression, returnByValue: true, awaitPromise: true });
    if (r.exceptionDetails) throw new Error(`in the page: ${r.exceptionDetails.text} ${expression}`);
    return r.result.value;
  }

  async screenshot(file) {
    const r = await this.send("Page.captureScreenshot", { format: "png" });
    fs.writeFileSync(file, Buffer.from(r.data, "base64"));
  }

  async close() {
    try { this.ws.close(); } catch { /* already gone */ }
    const gone = new Promise((r) => this.child.once("exit", r));
    killGroup(this.child, "SIGTERM");
    await Promise.race([gone, sleep(3000)]);
    // The script may be gone before the browser under it.
    await sleep(200);
    killGroup(this.child, "SIGKILL");
  }
}
