// The sample broker configuration the package ships, run as a user would run it (only its
// paths and ports changed, and its listeners kept on loopback): no anonymous client, each user
// limited to what acl.conf grants, the page served by the websocket listener.
//   node broker_sample_test.mjs SAMPLE_DIR WEB_DIR WORK_DIR
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import path from "node:path";
import { Broker } from "./broker.mjs";
import { WireClient } from "./mqtt_wire.mjs";

const [sampleDir, webDir, workArg] = process.argv.slice(2);
// A space in the folder: the sample's Windows paths have one too.
const work = path.join(workArg, "sample broker");
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
let failures = 0;
function check(ok, what, expected, actual) {
  console.log(`${ok ? "ok  " : "FAIL"} ${what}: expected ${expected}, got ${actual}`);
  if (!ok) failures++;
}

fs.rmSync(work, { recursive: true, force: true });
fs.mkdirSync(work, { recursive: true });
const passwords = path.join(work, "passwords");
const users = { bridge: "b-secret", mirror: "m-secret", panel: "p-secret", viewer: "v-secret" };
for (const [i, [user, password]] of Object.entries(users).entries())
  execFileSync("mosquitto_passwd", [...(i === 0 ? ["-c"] : []), "-b", passwords, user, password]);
fs.copyFileSync(path.join(sampleDir, "acl.conf"), path.join(work, "acl.conf"));

// The sample's own text, with this run's places and ports.
class SampleBroker extends Broker {
  configText() {
    return fs.readFileSync(path.join(sampleDir, "mosquitto.conf"), "utf8")
      .replace(/^password_file .*$/m, `password_file ${passwords}`)
      .replace(/^acl_file .*$/m, `acl_file ${path.join(work, "acl.conf")}`)
      .replace(/^http_dir .*$/m, `http_dir ${webDir}`)
      .replace(/^listener 1883$/m, `listener ${this.port} 127.0.0.1`)
      .replace(/^listener 8080$/m, `listener ${this.wsPort} 127.0.0.1`) + "\nlog_dest stderr\n";
  }
}

async function refused(options) {
  try {
    const c = await WireClient.connect(broker.port, options);
    c.destroy();
    return "accepted";
  } catch (e) {
    return e.message;
  }
}

// Collects what a client receives; `until` waits for a topic to arrive.
function collector(client) {
  const seen = [];
  client.onMessage = (topic, payload) => seen.push(`${topic}=${payload}`);
  return {
    seen,
    async until(topic, ms = 3000) {
      const end = Date.now() + ms;
      while (Date.now() < end && !seen.some((s) => s.startsWith(topic + "="))) await sleep(10);
      return seen.some((s) => s.startsWith(topic + "="));
    },
  };
}

const broker = new SampleBroker(work, webDir);
const clients = [];
try {
  await broker.start();
  const as = async (user) => {
    const c = await WireClient.connect(broker.port, { username: user, password: users[user] });
    clients.push(c);
    return c;
  };

  const anonymous = await refused({});
  check(/return code 5/.test(anonymous), "anonymous client", "refused (5)", anonymous);
  const wrong = await refused({ username: "viewer", password: "guess" });
  check(/return code [45]/.test(wrong), "wrong password", "refused", wrong);

  const bridge = await as("bridge"), viewer = await as("viewer");
  const panel = await as("panel"), mirror = await as("mirror");
  const atBridge = collector(bridge), atViewer = collector(viewer);
  await bridge.subscribe(["mdnsrv/+/command/#", "mdnsrv/+/mirror/#"]);
  await viewer.subscribe(["mdnsrv/#"]);

  bridge.publish("mdnsrv/cockpit/airdata/altitude", "3000", true);
  check(await atViewer.until("mdnsrv/cockpit/airdata/altitude"), "viewer reads the station",
    "altitude received", atViewer.seen.join(" "));

  // Forbidden publishes first; a subscribe round trip proves the broker has handled them,
  // then an allowed message from another user shows what got through before it.
  viewer.publish("mdnsrv/cockpit/command/MDN_DUMP_KEYS", "");
  viewer.publish("mdnsrv/cockpit/airdata/altitude", "666");
  mirror.publish("mdnsrv/cockpit/command/MDN_DUMP_TFC", "");
  panel.publish("mdnsrv/cockpit/airdata/altitude", "777");
  await viewer.subscribe(["mdnsrv/barrier"]);
  await mirror.subscribe(["mdnsrv/barrier"]);
  await panel.subscribe(["mdnsrv/barrier"]);
  panel.publish("mdnsrv/cockpit/command/MDN_NAV_DEVICE_CYCLE", "");
  mirror.publish("mdnsrv/cockpit/mirror/pc2/status", "live", true);
  check(await atBridge.until("mdnsrv/cockpit/command/MDN_NAV_DEVICE_CYCLE"),
    "panel sends a command", "received by the bridge", atBridge.seen.join(" "));
  check(await atBridge.until("mdnsrv/cockpit/mirror/pc2/status"), "mirror says its status",
    "received", atBridge.seen.join(" "));
  const commands = atBridge.seen.filter((s) => s.includes("/command/"));
  check(commands.length === 1, "commands from viewer and mirror", "dropped",
    commands.join(" "));
  await atViewer.until("mdnsrv/cockpit/mirror/pc2/status");
  const altitudes = atViewer.seen.filter((s) => s.includes("airdata/altitude"));
  check(altitudes.length === 1, "air data from viewer and panel", "dropped", altitudes.join(" "));

  // The page comes from the websocket listener (no Content-Type; the browser copes).
  const page = await fetch(`http://127.0.0.1:${broker.wsPort}/index.html`);
  const text = await page.text();
  check(page.status === 200 && text.includes('src="cockpit.js"'), "page served by http_dir",
    "200 with the page", `${page.status}, ${text.length} bytes`);
} catch (e) {
  console.log(`FAIL ${e.stack || e}`);
  failures++;
} finally {
  for (const c of clients) c.destroy();
  await broker.stop();
}
console.log(failures === 0 ? "sample broker test passed" : `${failures} check(s) failed`);
process.exit(failures === 0 ? 0 : 1);
