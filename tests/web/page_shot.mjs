// Saves a picture of the instrument page once it shows live data (or after 3 minutes without:
// under Wine on a loaded machine the bridge may take that long to start):
//   node page_shot.mjs URL OUT.png [WIDTHxHEIGHT]
// Prints what the page shows; exit status 0 when it was live, 1 when not.
import path from "node:path";
import { Browser } from "./browser.mjs";

const [url, out, size = "1280x800"] = process.argv.slice(2);
const [width, height] = size.split("x").map(Number);
// The page's shown values; empty while the page is still loading.
const PANEL = "({ ...(document.getElementById('panel') || { dataset: {} }).dataset })";
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

const browser = await Browser.open(url, path.join(path.dirname(out), "chromium-profile"),
  { width, height });
let data = {};
try {
  const end = Date.now() + 180000;
  while (Date.now() < end) {
    data = await browser.evaluate(PANEL);
    if (data.stale === "false" && data.track !== "") break;
    await sleep(200);
  }
  // A moment more for the needles to settle on the newest values.
  await sleep(500);
  data = await browser.evaluate(PANEL);
  await browser.screenshot(out);
} finally {
  await browser.close();
}
console.log(`page: ${data.stale === "false" ? "live" : "STALE"} (${data.connection}, ` +
  `station ${data.status || "unknown"}): airspeed ${data.airspeed} kt, altitude ` +
  `${data.altitude} ft, vertical speed ${data.verticalSpeed} ft/min, track ${data.track}, ` +
  `temperature ${data.temperature} C, radios ${data.radio1} / ${data.radio2}`);
process.exit(data.stale === "false" ? 0 : 1);
