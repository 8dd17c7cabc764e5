// The instrument page's drawing: six instruments on one canvas that fills the window, laid out
// three by two on a wide screen and two by three on a tall one, redrawn only when something
// changed. Sizes are fractions of each instrument's radius, so a phone and a wall screen look
// the same.
"use strict";

const Instruments = (function () {
  let canvas = null, ctx = null, state = null, pending = false;

  const INK = "#f2f2f2", FACE = "#1b1b1b", BEZEL = "#3a3a3a", NEEDLE = "#ffffff";
  const AMBER = "#ffb000", RED = "#e02020", GREEN = "#1fa31f", YELLOW = "#e0c000";

  function font(px, weight) {
    return (weight || "600") + " " + Math.max(6, Math.round(px)) + "px system-ui, sans-serif";
  }

  function dial(cx, cy, r, title, unit) {
    ctx.beginPath(); ctx.arc(cx, cy, r, 0, 2 * Math.PI);
    ctx.fillStyle = BEZEL; ctx.fill();
    ctx.beginPath(); ctx.arc(cx, cy, r * 0.93, 0, 2 * Math.PI);
    ctx.fillStyle = FACE; ctx.fill();
    ctx.fillStyle = INK; ctx.textAlign = "center"; ctx.textBaseline = "middle";
    ctx.font = font(r * 0.095); ctx.fillText(title, cx, cy - r * 0.27);
    if (unit) { ctx.font = font(r * 0.075, "400"); ctx.fillText(unit, cx, cy - r * 0.16); }
  }

  // Angle on the dial, clockwise from twelve o'clock, for a value on a linear scale.
  function angleOf(value, min, max, from, sweep) {
    const t = Math.min(1, Math.max(0, (value - min) / (max - min)));
    return from + t * sweep;
  }

  function polar(cx, cy, r, a) {
    return [cx + r * Math.sin(a), cy - r * Math.cos(a)];
  }

  function scale(cx, cy, r, min, max, from, sweep, major, minor, label) {
    ctx.strokeStyle = INK; ctx.fillStyle = INK;
    // A full circle would put its last mark on its first.
    const last = Math.abs(sweep) >= 2 * Math.PI - 1e-9 ? max - minor / 2 : max + 1e-9;
    for (let v = min; v <= last; v += minor) {
      const a = angleOf(v, min, max, from, sweep);
      const isMajor = Math.abs(v / major - Math.round(v / major)) < 1e-6;
      const [x0, y0] = polar(cx, cy, r * (isMajor ? 0.74 : 0.8), a);
      const [x1, y1] = polar(cx, cy, r * 0.88, a);
      ctx.lineWidth = r * (isMajor ? 0.025 : 0.012);
      ctx.beginPath(); ctx.moveTo(x0, y0); ctx.lineTo(x1, y1); ctx.stroke();
      if (isMajor && label) {
        const [tx, ty] = polar(cx, cy, r * 0.6, a);
        ctx.font = font(r * 0.12); ctx.textAlign = "center"; ctx.textBaseline = "middle";
        ctx.fillText(label(v), tx, ty);
      }
    }
  }

  function band(cx, cy, r, min, max, from, sweep, lo, hi, color) {
    ctx.strokeStyle = color; ctx.lineWidth = r * 0.05;
    ctx.beginPath();
    ctx.arc(cx, cy, r * 0.86, angleOf(lo, min, max, from, sweep) - Math.PI / 2,
            angleOf(hi, min, max, from, sweep) - Math.PI / 2);
    ctx.stroke();
  }

  function needle(cx, cy, r, a, length, width, color) {
    ctx.save(); ctx.translate(cx, cy); ctx.rotate(a);
    ctx.fillStyle = color || NEEDLE;
    ctx.beginPath();
    ctx.moveTo(-r * width, r * 0.12); ctx.lineTo(0, -r * length); ctx.lineTo(r * width, r * 0.12);
    ctx.closePath(); ctx.fill();
    ctx.restore();
    ctx.beginPath(); ctx.arc(cx, cy, r * 0.06, 0, 2 * Math.PI); ctx.fillStyle = "#555"; ctx.fill();
  }

  function digits(cx, cy, r, text, color) {
    ctx.font = font(r * 0.16, "700");
    const w = Math.max(ctx.measureText(text).width, r * 0.5) + r * 0.12;
    ctx.fillStyle = "#000"; ctx.fillRect(cx - w / 2, cy - r * 0.12, w, r * 0.24);
    ctx.strokeStyle = BEZEL; ctx.lineWidth = r * 0.015;
    ctx.strokeRect(cx - w / 2, cy - r * 0.12, w, r * 0.24);
    ctx.fillStyle = color || INK; ctx.textAlign = "center"; ctx.textBaseline = "middle";
    ctx.fillText(text, cx, cy + r * 0.01);
  }

  // The red and white flag a real instrument drops when it loses its data.
  function offFlag(cx, cy, r) {
    const w = r * 0.56, h = r * 0.2, x = cx - w / 2, y = cy + r * 0.5 - h / 2;
    ctx.save();
    ctx.beginPath(); ctx.rect(x, y, w, h); ctx.clip();
    ctx.fillStyle = RED; ctx.fillRect(x, y, w, h);
    ctx.strokeStyle = "#fff"; ctx.lineWidth = h * 0.25;
    for (let s = -h; s < w + h; s += h * 0.8) {
      ctx.beginPath(); ctx.moveTo(x + s, y + h); ctx.lineTo(x + s + h, y); ctx.stroke();
    }
    ctx.fillStyle = RED; ctx.fillRect(x + w * 0.22, y + h * 0.12, w * 0.56, h * 0.76);
    ctx.fillStyle = "#fff"; ctx.font = font(h * 0.7, "800");
    ctx.textAlign = "center"; ctx.textBaseline = "middle";
    ctx.fillText("OFF", cx, y + h / 2 + h * 0.04);
    ctx.restore();
  }

  function has(v) { return v !== undefined && v !== null && Number.isFinite(v); }

  function airspeed(cx, cy, r, v) {
    const min = 0, max = 250, from = -0.8 * Math.PI, sweep = 1.6 * Math.PI;
    dial(cx, cy, r, "AIRSPEED", "KNOTS");
    band(cx, cy, r, min, max, from, sweep, 50, 160, GREEN);
    band(cx, cy, r, min, max, from, sweep, 160, 200, YELLOW);
    band(cx, cy, r, min, max, from, sweep, 200, 204, RED);
    scale(cx, cy, r, min, max, from, sweep, 50, 10, (x) => String(x));
    if (has(v)) {
      digits(cx, cy + r * 0.3, r, v.toFixed(0));
      needle(cx, cy, r, angleOf(v, min, max, from, sweep), 0.84, 0.035);
    }
  }

  function altimeter(cx, cy, r, v) {
    dial(cx, cy, r, "ALT", "FEET");
    scale(cx, cy, r, 0, 1000, 0, 2 * Math.PI, 100, 20, (x) => String(x / 100));
    if (has(v)) {
      digits(cx, cy + r * 0.3, r, Math.round(v).toLocaleString("en-US"));
      needle(cx, cy, r, (v / 10000) * 2 * Math.PI, 0.5, 0.06);        // thousands
      needle(cx, cy, r, ((v % 1000) / 1000) * 2 * Math.PI, 0.84, 0.03); // hundreds
    }
  }

  function verticalSpeed(cx, cy, r, v) {
    // Zero at nine o'clock, climb upwards, as on a real indicator.
    const min = -2000, max = 2000, from = -Math.PI * 1.5 + 0.35, sweep = 2 * Math.PI - 0.7;
    dial(cx, cy, r, "VERT SPEED", "FT/MIN");
    scale(cx, cy, r, min, max, from, sweep, 500, 100, (x) => String(Math.abs(x) / 100));
    if (has(v)) {
      digits(cx, cy + r * 0.3, r, (v > 0 ? "+" : "") + v.toFixed(0));
      needle(cx, cy, r, angleOf(v, min, max, from, sweep), 0.84, 0.035);
    }
  }

  function track(cx, cy, r, v) {
    ctx.beginPath(); ctx.arc(cx, cy, r, 0, 2 * Math.PI); ctx.fillStyle = BEZEL; ctx.fill();
    ctx.beginPath(); ctx.arc(cx, cy, r * 0.93, 0, 2 * Math.PI); ctx.fillStyle = FACE; ctx.fill();
    const card = has(v) ? v : 0;
    ctx.save(); ctx.translate(cx, cy); ctx.rotate(-card * Math.PI / 180);
    ctx.strokeStyle = INK; ctx.fillStyle = INK;
    for (let d = 0; d < 360; d += 5) {
      const a = d * Math.PI / 180, major = d % 30 === 0;
      const [x0, y0] = polar(0, 0, r * (major ? 0.74 : 0.8), a);
      const [x1, y1] = polar(0, 0, r * 0.88, a);
      ctx.lineWidth = r * (d % 10 === 0 ? 0.022 : 0.012);
      ctx.beginPath(); ctx.moveTo(x0, y0); ctx.lineTo(x1, y1); ctx.stroke();
      if (major) {
        const label = { 0: "N", 90: "E", 180: "S", 270: "W" }[d] || String(d / 10);
        const [tx, ty] = polar(0, 0, r * 0.62, a);
        ctx.save(); ctx.translate(tx, ty); ctx.rotate(a);
        ctx.font = font(r * (label.length === 1 && isNaN(label) ? 0.15 : 0.12));
        ctx.textAlign = "center"; ctx.textBaseline = "middle"; ctx.fillText(label, 0, 0);
        ctx.restore();
      }
    }
    ctx.restore();
    // Lubber line and a small aircraft at the centre.
    ctx.fillStyle = AMBER;
    ctx.beginPath(); ctx.moveTo(cx, cy - r * 0.9); ctx.lineTo(cx - r * 0.05, cy - r * 0.99);
    ctx.lineTo(cx + r * 0.05, cy - r * 0.99); ctx.closePath(); ctx.fill();
    ctx.strokeStyle = AMBER; ctx.lineWidth = r * 0.03; ctx.beginPath();
    ctx.moveTo(cx, cy - r * 0.28); ctx.lineTo(cx, cy + r * 0.22);
    ctx.moveTo(cx - r * 0.22, cy - r * 0.04); ctx.lineTo(cx + r * 0.22, cy - r * 0.04);
    ctx.moveTo(cx - r * 0.09, cy + r * 0.2); ctx.lineTo(cx + r * 0.09, cy + r * 0.2);
    ctx.stroke();
    ctx.fillStyle = INK; ctx.font = font(r * 0.1); ctx.textAlign = "center";
    ctx.fillText("TRK", cx, cy - r * 0.4);
    digits(cx, cy + r * 0.4, r, has(v) ? String(Math.round(v) % 360).padStart(3, "0") + "°" : "---");
  }

  function temperature(cx, cy, r, v) {
    const min = -60, max = 120, from = -0.75 * Math.PI, sweep = 1.5 * Math.PI;
    dial(cx, cy, r, "TEMP", "°C");
    band(cx, cy, r, min, max, from, sweep, -60, 0, "#2a6bd1");
    scale(cx, cy, r, min, max, from, sweep, 30, 10, (x) => String(x));
    if (has(v)) {
      digits(cx, cy + r * 0.3, r, v.toFixed(1));
      needle(cx, cy, r, angleOf(v, min, max, from, sweep), 0.84, 0.035);
    }
  }

  function radios(x, y, w, h, r1, r2) {
    ctx.fillStyle = BEZEL; ctx.fillRect(x, y, w, h);
    ctx.fillStyle = "#222"; ctx.fillRect(x + w * 0.03, y + h * 0.03, w * 0.94, h * 0.94);
    const rows = [["RADIO 1", r1], ["RADIO 2", r2]];
    const rowH = h * 0.94 / 2;
    rows.forEach(function (row, i) {
      const top = y + h * 0.03 + i * rowH;
      const size = Math.min(rowH * 0.42, w * 0.13);
      ctx.fillStyle = INK; ctx.font = font(size * 0.45); ctx.textAlign = "left";
      ctx.textBaseline = "middle";
      ctx.fillText(row[0], x + w * 0.08, top + rowH * 0.22);
      ctx.fillStyle = "#000";
      ctx.fillRect(x + w * 0.08, top + rowH * 0.36, w * 0.84, rowH * 0.5);
      ctx.fillStyle = AMBER; ctx.font = "700 " + Math.round(size) + "px ui-monospace, monospace";
      ctx.textAlign = "center";
      ctx.fillText(has(row[1]) ? row[1].toFixed(3) : "---.---", x + w / 2, top + rowH * 0.62);
    });
  }

  function draw() {
    pending = false;
    const dpr = window.devicePixelRatio || 1;
    const cssW = canvas.clientWidth, cssH = canvas.clientHeight;
    if (canvas.width !== Math.round(cssW * dpr) || canvas.height !== Math.round(cssH * dpr)) {
      canvas.width = Math.round(cssW * dpr); canvas.height = Math.round(cssH * dpr);
    }
    ctx.setTransform(dpr, 0, 0, dpr, 0, 0);
    ctx.fillStyle = "#111"; ctx.fillRect(0, 0, cssW, cssH);

    const bar = Math.max(22, Math.min(cssW, cssH) * 0.06);
    const stale = state.stale;
    ctx.fillStyle = stale ? RED : "#222"; ctx.fillRect(0, 0, cssW, bar);
    ctx.fillStyle = "#fff"; ctx.font = font(bar * 0.55); ctx.textBaseline = "middle";
    ctx.textAlign = "left";
    ctx.fillText(state.station + (state.status ? ": " + state.status : ""), bar * 0.4, bar / 2);
    ctx.textAlign = "right";
    const why = state.connection !== "connected" ? "STALE: broker " + state.connection
      : state.status !== "online" ? "STALE: station not online"
      : stale ? "STALE: no data for 1 s" : "LIVE";
    ctx.fillText(why, cssW - bar * 0.4, bar / 2);

    const wide = cssW >= cssH;
    const cols = wide ? 3 : 2, rows = wide ? 2 : 3;
    const cellW = cssW / cols, cellH = (cssH - bar) / rows;
    const r = Math.min(cellW, cellH) * 0.46;
    const v = state.values;
    const cells = [
      (cx, cy) => airspeed(cx, cy, r, v.airspeed),
      (cx, cy) => altimeter(cx, cy, r, v.altitude),
      (cx, cy) => verticalSpeed(cx, cy, r, v.verticalSpeed),
      (cx, cy) => track(cx, cy, r, state.track),
      (cx, cy) => temperature(cx, cy, r, v.temperature),
      (cx, cy) => radios(cx - r, cy - r * 0.75, 2 * r, 1.5 * r, v.radio1, v.radio2),
    ];
    cells.forEach(function (drawCell, i) {
      const cx = (i % cols + 0.5) * cellW, cy = bar + (Math.floor(i / cols) + 0.5) * cellH;
      drawCell(cx, cy);
      if (stale) offFlag(cx, cy, r);
    });
  }

  function requestDraw() {
    if (pending || ctx === null) return;
    pending = true;
    window.requestAnimationFrame(draw);
  }

  function attach(c, s) {
    canvas = c; ctx = c.getContext("2d"); state = s;
    window.addEventListener("resize", requestDraw);
    requestDraw();
  }

  return { attach: attach, requestDraw: requestDraw };
})();
