// Network figures on loopback, in one run against a private broker (not a test: it prints
// what it saw and never fails on a number):
//   - fan-out of a 30 Hz block stream to 1, 10 and 50 subscribers, each its own process
//     (mosquitto_sub): messages lost and the delivery latency;
//   - the instrument page's round trip through the websocket listener, from inside the page.
// Usage: tests/web/node-ws bench/network/measure.mjs [--seconds N]
import { spawn } from "node:child_process";
import fs from "node:fs";
import path from "node:path";
import { fileURLToPath } from "node:url";
import { Broker } from "../../tests/web/broker.mjs";
import { Browser } from "../../tests/web/browser.mjs";
import { WireClient } from "../../tests/web/mqtt_wire.mjs";
import { percentile, ms } from "./stats.mjs";

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), "../..");
const args = process.argv.slice(2);
const option = (name, fallback) => {
  const i = args.indexOf(name);
  return i >= 0 ? Number(args[i + 1]) : fallback;
};
const seconds = option("--seconds", 10);
const work = path.join(root, "build/bench-network");
const webDir = path.join(root, "build/win32/web/site");
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
const nowSeconds = () => (performance.timeOrigin + performance.now()) / 1000;


// One message as the bridge sends it: header, then the block; the block's timeOfDay field
// carries the send time (Unix seconds) so a subscriber can tell the latency.
function blockMessage(sequence) {
  const m = Buffer.alloc(400);
  m.write("MDNA", 0, "ascii");
  m.writeUInt16LE(1, 4);
  m.writeUInt16LE(16, 6);
  m.writeUInt32LE(sequence, 8);
  m.writeUInt32LE(Math.floor(performance.now()) >>> 0, 12);
  m.writeDoubleLE(nowSeconds(), 16 + 8);
  return m;
}

async function fanOut(broker, subscribers) {
  const topic = "mdnsrv/bench/airdata/block";
  const folder = path.join(work, `fanout-${subscribers}`);
  fs.rmSync(folder, { recursive: true, force: true });
  fs.mkdirSync(folder, { recursive: true });
  const publisher = await WireClient.connect(broker.port);
  publisher.publish(topic, blockMessage(0), true);
  const children = [];
  for (let i = 0; i < subscribers; ++i) {
    const file = path.join(folder, `sub-${i}.txt`);
    const out = fs.openSync(file, "w");
    const child = spawn("mosquitto_sub", ["-h", "127.0.0.1", "-p", String(broker.port),
      "-t", topic, "-F", "%U %x", "--nodelay"], { stdio: ["ignore", out, "ignore"] });
    fs.closeSync(out);
    children.push({ child, file });
  }
  // Every subscriber has its retained copy: all are in.
  const ready = Date.now() + 30000;
  while (Date.now() < ready && children.some((c) => fs.statSync(c.file).size === 0))
    await sleep(50);

  const period = 1000 / 30, count = Math.round(seconds * 30);
  const start = performance.now();
  for (let seq = 1; seq <= count; ++seq) {
    const due = start + seq * period;
    const wait = due - performance.now();
    if (wait > 0) await sleep(wait);
    publisher.publish(topic, blockMessage(seq), true);
  }
  await sleep(1000);
  for (const c of children) c.child.kill("SIGTERM");
  await Promise.all(children.map((c) => new Promise((r) => c.child.exitCode !== null ? r() : c.child.once("exit", r))));
  publisher.destroy();

  let lost = 0;
  const latencies = [];
  for (const c of children) {
    const seen = new Set();
    for (const line of fs.readFileSync(c.file, "utf8").split("\n")) {
      const [stamp, hex] = line.split(" ");
      if (!hex || hex.length < 800) continue;
      const m = Buffer.from(hex, "hex");
      const seq = m.readUInt32LE(8);
      if (seq === 0 || seen.has(seq)) continue;
      seen.add(seq);
      latencies.push((Number(stamp) - m.readDoubleLE(24)) * 1000);
    }
    lost += count - seen.size;
  }
  latencies.sort((a, b) => a - b);
  return { subscribers, sent: count, lost, p50: percentile(latencies, 50),
    p99: percentile(latencies, 99), max: latencies[latencies.length - 1] };
}

// Inside the page: its own MQTT client publishes and waits for its own message, 30 times a
// second, as an instrument's round trip would be.
async function pageRoundTrip(broker) {
  const browser = await Browser.open(`http://127.0.0.1:${broker.wsPort}/index.html?station=bench`,
    path.join(work, "profile"));
  try {
    const end = Date.now() + 20000;
    while (Date.now() < end &&
      (await browser.evaluate("(document.getElementById('panel') || { dataset: {} }).dataset.connection")) !== "connected")
      await sleep(100);
    const rounds = Math.round(seconds * 30);
    const times = await browser.evaluate(`new Promise((resolve) => {
      const c = window.mdnCockpit.client, topic = "mdnsrv/bench/echo", times = [];
      let sentAt = 0;
      c.on("message", (t) => {
        if (t !== topic) return;
        times.push(performance.now() - sentAt);
        if (times.length === ${rounds}) { resolve(times); return; }
        setTimeout(send, Math.max(0, 1000 / 30 - times[times.length - 1]));
      });
      function send() { sentAt = performance.now(); c.publish(topic, "x"); }
      c.subscribe(topic, () => send());
    })`);
    times.sort((a, b) => a - b);
    return { rounds, p50: percentile(times, 50), p99: percentile(times, 99),
      max: times[times.length - 1] };
  } finally {
    await browser.close();
  }
}

fs.mkdirSync(work, { recursive: true });
const broker = new Broker(path.join(work, "broker"), webDir);
await broker.start();
const lines = [];
const say = (s) => { console.log(s); lines.push(s); };
try {
  say(`Loopback, ${seconds} s per case, ${new Date().toISOString()}, ` +
    `load average ${fs.readFileSync("/proc/loadavg", "utf8").split(" ").slice(0, 3).join(" ")}`);
  say("");
  say("| subscribers | messages sent to each | lost (all) | latency p50 ms | p99 ms | max ms |");
  say("|---|---|---|---|---|---|");
  for (const n of [1, 10, 50]) {
    const r = await fanOut(broker, n);
    say(`| ${n} | ${r.sent} | ${r.lost} | ${ms(r.p50)} | ${ms(r.p99)} | ${ms(r.max)} |`);
  }
  say("");
  const page = await pageRoundTrip(broker);
  say(`Page round trip through the websocket listener, ${page.rounds} rounds at 30 Hz: ` +
    `p50 ${ms(page.p50)} ms, p99 ${ms(page.p99)} ms, max ${ms(page.max)} ms`);
} finally {
  await broker.stop();
}
fs.writeFileSync(path.join(work, "figures.md"), lines.join("\n") + "\n");
console.log(`\n(written to ${path.join(work, "figures.md")})`);
