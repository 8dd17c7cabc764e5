// A private Mosquitto on free loopback ports: one MQTT listener, one websocket listener that
// also serves a folder as its http_dir. Anonymous clients are let in: nothing listens beyond
// loopback and the broker lives only as long as the run that started it.
import { spawn } from "node:child_process";
import fs from "node:fs";
import net from "node:net";
import path from "node:path";

export function freePort() {
  return new Promise((resolve, reject) => {
    const server = net.createServer();
    server.on("error", reject);
    server.listen(0, "127.0.0.1", () => {
      const { port } = server.address();
      server.close(() => resolve(port));
    });
  });
}

function accepts(port) {
  return new Promise((resolve) => {
    const socket = net.connect(port, "127.0.0.1");
    socket.once("connect", () => { socket.destroy(); resolve(true); });
    socket.once("error", () => resolve(false));
  });
}

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

export class Broker {
  // folder: where the configuration and log go; httpDir: what the websocket listener serves.
  constructor(folder, httpDir) {
    this.folder = folder;
    this.httpDir = httpDir;
    this.process = null;
    this.port = 0;
    this.wsPort = 0;
  }

  configText() {
    return [
      "per_listener_settings false",
      "allow_anonymous true",
      "persistence false",
      "set_tcp_nodelay true",
      // Its log goes to stderr, kept in the folder: as root the broker may drop to a user
      // that cannot write there.
      "log_dest stderr",
      `listener ${this.port} 127.0.0.1`,
      "protocol mqtt",
      `listener ${this.wsPort} 127.0.0.1`,
      "protocol websockets",
      `http_dir ${this.httpDir}`,
      "",
    ].join("\n");
  }

  // Picks ports the first time; a restart keeps them, as a broker coming back would.
  async start() {
    fs.mkdirSync(this.folder, { recursive: true });
    const keepPorts = this.port !== 0;
    for (let attempt = 0; attempt < 5; ++attempt) {
      if (!keepPorts) {
        this.port = await freePort();
        this.wsPort = await freePort();
      }
      const config = path.join(this.folder, "mosquitto.conf");
      fs.writeFileSync(config, this.configText());
      const child = spawn("mosquitto", ["-c", config], { stdio: ["ignore", "ignore", "pipe"] });
      let exited = false;
      child.once("exit", () => { exited = true; });
      child.stderr.pipe(fs.createWriteStream(path.join(this.folder, "mosquitto.log"), { flags: "a" }));
      const deadline = Date.now() + 10000;
      while (!exited && Date.now() < deadline) {
        if ((await accepts(this.port)) && (await accepts(this.wsPort))) {
          this.process = child;
          return;
        }
        await sleep(50);
      }
      child.kill("SIGKILL");
      // A port taken again between picking and binding: pick others (or wait for a restart's).
      if (keepPorts) await sleep(500);
    }
    throw new Error(`mosquitto did not start on ${this.port}/${this.wsPort}: see ${this.folder}`);
  }

  async stop() {
    if (this.process === null) return;
    const child = this.process;
    this.process = null;
    const gone = new Promise((r) => child.once("exit", r));
    child.kill("SIGTERM");
    await Promise.race([gone, sleep(5000)]);
    if (child.exitCode === null && child.signalCode === null) child.kill("SIGKILL");
  }
}
