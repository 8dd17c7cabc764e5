// The instrument page in headless Chromium, loaded from a private broker's http_dir and fed
// over its MQTT listener by a stand-in station: it shows what the station published, marks
// itself stale within 2 s when the station falls silent or goes offline, and comes back by
// itself after the broker restarts.
//   node --experimental-websocket page_test.mjs WEB_DIR WORK_DIR
import path from "node:path";
import { Broker } from "./broker.mjs";
import { Browser } from "./browser.mjs";
import { WireClient } from "./mqtt_wire.mjs";

const [webDir, work] = process.argv.slice(2);
const prefix = "mdnsrv/cockpit/";
// The page's shown values; empty while the page is still loading.
const PANEL = "({ ...(document.getElementById('panel') || { dataset: {} }).dataset })";
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
let failures = 0;

function check(ok, what, expected, actual) {
  console.log(`${ok ? "ok  " : "FAIL"} ${what}: expected ${expected}, got ${actual}`);
  if (!ok) failures++;
}

// Polls the page until pick(panel dataset) satisfies want, or the time is up; returns the last
// dataset and how long it took.
async function waitFor(browser, want, ms) {
  const start = Date.now();
  let data = {};
  while (Date.now() - start <= ms) {
    data = await browser.evaluate(PANEL);
    if (want(data)) return { data, elapsed: Date.now() - start, met: true };
    await sleep(25);
  }
  return { data, elapsed: Date.now() - start, met: false };
}

// A station as the bridge plays it: status online with an offline will, the quantities the
// page shows, and a clock and a position that move every 100 ms (20 m on a 60 degree track).
class Station {
  static async start(port, values) {
    const s = new Station();
    s.client = await WireClient.connect(port,
      { will: { topic: prefix + "status", payload: "offline", retain: true }, keepalive: 5 });
    s.client.publish(prefix + "status", "online", true);
    for (const [name, text] of Object.entries(values))
      s.client.publish(prefix + "airdata/" + name, text, true);
    s.feed();
    return s;
  }

  constructor() {
    this.time = 49530;
    this.lat = 0.7853981;
    this.lon = 0.1221730;
    this.timer = null;
  }

  feed() {
    const step = 20 / 6371000;
    this.timer = setInterval(() => {
      this.time += 0.1;
      this.lat += step * Math.cos(Math.PI / 3);
      this.lon += step * Math.sin(Math.PI / 3) / Math.cos(this.lat);
      this.client.publish(prefix + "airdata/timeOfDay", this.time.toFixed(3), true);
      this.client.publish(prefix + "airdata/latitude", this.lat.toPrecision(17), true);
      this.client.publish(prefix + "airdata/longitude", this.lon.toPrecision(17), true);
      this.lastPublish = Date.now();
    }, 100);
  }

  silence() { clearInterval(this.timer); this.timer = null; }
  kill() { this.silence(); this.client.destroy(); }
}

const broker = new Broker(path.join(work, "broker"), webDir);
await broker.start();
let browser = null, station = null;
try {
  station = await Station.start(broker.port, {
    aircraftVar25: "120.5", altitude: "3456.25", value556PerMinute: "500",
    g1TemperatureA: "-12.5", frequency23: "122.275", frequency870: "111.84999847",
  });
  browser = await Browser.open(`http://127.0.0.1:${broker.wsPort}/index.html`,
    path.join(work, "profile"));

  // Served by http_dir without a Content-Type, through the websocket listener.
  let r = await waitFor(browser, (d) => d.connection === "connected" && d.stale === "false" &&
    d.track !== "", 15000);
  check(r.met, "page connected and live with a track", "connected, live, track shown",
    `${r.data.connection}, stale=${r.data.stale}, track='${r.data.track}'`);
  const expected = { airspeed: "120.5", altitude: "3456.3", verticalSpeed: "500.0",
    temperature: "-12.5", radio1: "122.275", radio2: "111.850" };
  for (const [key, want] of Object.entries(expected))
    check(r.data[key] === want, `shown ${key}`, want, r.data[key]);
  check(Math.abs(Number(r.data.track) - 60) <= 1, "track from successive positions", "60.0 +- 1",
    r.data.track);
  await browser.screenshot(path.join(work, "page-live.png"));

  // Text that is not a number leaves the shown value as it was.
  station.client.publish(prefix + "airdata/altitude", "12 feet", true);
  station.client.publish(prefix + "airdata/aircraftVar25", "130", true);
  r = await waitFor(browser, (d) => d.airspeed === "130.0", 3000);
  check(r.data.altitude === "3456.3", "altitude after a payload that is not a number", "3456.3",
    r.data.altitude);

  // The station falls silent but stays connected and online.
  station.silence();
  r = await waitFor(browser, (d) => d.stale === "true", 4000);
  const silentFor = Date.now() - station.lastPublish;
  check(r.met && silentFor <= 2000, "stale mark after the station fell silent", "within 2000 ms",
    r.met ? `${silentFor} ms` : `not stale after ${silentFor} ms`);

  station.feed();
  r = await waitFor(browser, (d) => d.stale === "false", 3000);
  check(r.met, "live again once data flows", "stale=false", `stale=${r.data.stale}`);

  // The station dies: the broker sends its will, the page believes it at once.
  const killedAt = Date.now();
  station.kill();
  r = await waitFor(browser, (d) => d.stale === "true" && d.status === "offline", 4000);
  check(r.met && Date.now() - killedAt <= 2000, "stale mark after the station died",
    "status offline within 2000 ms", `status '${r.data.status}' after ${Date.now() - killedAt} ms`);

  // The broker goes away and comes back on the same ports: the page reconnects by itself.
  station = await Station.start(broker.port, { aircraftVar25: "140" });
  r = await waitFor(browser, (d) => d.stale === "false" && d.airspeed === "140.0", 5000);
  check(r.met, "a restarted station is shown", "live, airspeed 140.0",
    `stale=${r.data.stale}, airspeed ${r.data.airspeed}`);
  station.kill();
  await broker.stop();
  r = await waitFor(browser, (d) => d.connection !== "connected" && d.stale === "true", 5000);
  check(r.met, "broker gone", "not connected, stale", `${r.data.connection}, stale=${r.data.stale}`);
  await broker.start();
  station = await Station.start(broker.port, { aircraftVar25: "145" });
  r = await waitFor(browser, (d) => d.connection === "connected" && d.stale === "false" &&
    d.airspeed === "145.0", 15000);
  check(r.met, "reconnected after the broker came back", "connected, live, airspeed 145.0",
    `${r.data.connection}, stale=${r.data.stale}, airspeed ${r.data.airspeed}`);

  // A phone held upright: the canvas follows the viewport.
  await browser.send("Emulation.setDeviceMetricsOverride",
    { width: 390, height: 844, deviceScaleFactor: 3, mobile: true });
  await sleep(300);
  const size = await browser.evaluate(
    "(() => { const c = document.getElementById('instruments'); return c.width + 'x' + c.height; })()");
  check(size === "1170x2532", "canvas on a 390x844 phone at 3x", "1170x2532", size);
  await browser.screenshot(path.join(work, "page-phone.png"));
} catch (e) {
  console.log(`FAIL ${e.stack || e}`);
  failures++;
} finally {
  if (station) station.kill();
  if (browser) await browser.close();
  await broker.stop();
}
console.log(failures === 0 ? "page test passed" : `${failures} check(s) failed`);
process.exit(failures === 0 ? 0 : 1);
