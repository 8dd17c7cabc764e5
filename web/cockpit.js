// The instrument page's data side: one MQTT connection over the broker's websocket listener,
// the quantities it shows, the stale mark, and the values exposed on #panel's data attributes
// (data-airspeed, data-altitude, ... ; data-stale, data-connection, data-status).
"use strict";

(function () {
  // What each instrument shows: the per-quantity topic under mdnsrv/<station>/airdata/.
  // The block has no heading and no outside temperature: the track comes from successive
  // positions, and the temperature gauge shows the first published temperature.
  const QUANTITIES = {
    airspeed: "aircraftVar25",      // knots
    altitude: "altitude",           // feet
    verticalSpeed: "value556PerMinute", // feet per minute
    temperature: "g1TemperatureA",  // degrees Celsius
    radio1: "frequency23",          // MHz
    radio2: "frequency870",         // MHz
    latitude: "latitude",           // radians
    longitude: "longitude",         // radians
  };
  // Changes every cycle while the simulator runs, so it keeps the page fresh even when
  // nothing shown moves (a parked aircraft).
  const HEARTBEAT = "timeOfDay";
  const STALE_AFTER_MS = 1000;
  // A track needs a displacement well above the position's noise: about 30 m.
  const TRACK_MIN_RADIANS = 30 / 6371000;

  const params = new URLSearchParams(window.location.search);
  const station = /^[A-Za-z0-9_-]+$/.test(params.get("station") || "")
    ? params.get("station") : "cockpit";
  const prefix = "mdnsrv/" + station + "/";
  const brokerUrl = params.get("broker") ||
    (window.location.protocol === "https:" ? "wss://" : "ws://") +
    (window.location.host || "127.0.0.1:8080") + "/";

  const panel = document.getElementById("panel");
  const readout = document.getElementById("readout");
  const canvas = document.getElementById("instruments");

  const state = {
    station: station,
    values: {},          // instrument name -> number
    track: null,         // degrees true, from positions
    status: "",          // the station's retained status text
    connection: "connecting",
    lastArrival: 0,      // performance.now() of the last air-data message
    stale: true,
  };
  let anchor = null;     // the position the next track is measured from

  const byTopic = {};
  for (const name of Object.keys(QUANTITIES))
    byTopic[prefix + "airdata/" + QUANTITIES[name]] = name;

  function updateTrack() {
    const lat = state.values.latitude, lon = state.values.longitude;
    if (lat === undefined || lon === undefined) return;
    if (anchor === null) { anchor = { lat: lat, lon: lon }; return; }
    const north = lat - anchor.lat;
    let east = lon - anchor.lon;
    if (east > Math.PI) east -= 2 * Math.PI;
    if (east < -Math.PI) east += 2 * Math.PI;
    east *= Math.cos((lat + anchor.lat) / 2);
    if (Math.hypot(north, east) < TRACK_MIN_RADIANS) return;
    // A jump (a new flight, a slewed aircraft) restarts the measurement instead of showing it.
    if (Math.hypot(north, east) > 0.01) { anchor = { lat: lat, lon: lon }; return; }
    const degrees = Math.atan2(east, north) * 180 / Math.PI;
    state.track = (degrees + 360) % 360;
    anchor = { lat: lat, lon: lon };
  }

  function evaluateStale(now) {
    const stale = state.connection !== "connected" || state.status !== "online" ||
      now - state.lastArrival > STALE_AFTER_MS;
    if (stale !== state.stale) { state.stale = stale; publishDom(); }
  }

  function fixed(v, digits) { return v === undefined || v === null ? "" : v.toFixed(digits); }

  function publishDom() {
    const v = state.values;
    const shown = {
      airspeed: fixed(v.airspeed, 1), altitude: fixed(v.altitude, 1),
      verticalSpeed: fixed(v.verticalSpeed, 1), track: fixed(state.track, 1),
      temperature: fixed(v.temperature, 1), radio1: fixed(v.radio1, 3),
      radio2: fixed(v.radio2, 3),
    };
    for (const key of Object.keys(shown)) panel.dataset[key] = shown[key];
    panel.dataset.stale = String(state.stale);
    panel.dataset.connection = state.connection;
    panel.dataset.status = state.status;
    readout.textContent = (state.stale ? "STALE. " : "") +
      "Airspeed " + shown.airspeed + " kt, altitude " + shown.altitude + " ft, vertical speed " +
      shown.verticalSpeed + " ft/min, track " + shown.track + ", temperature " +
      shown.temperature + " C, radio 1 " + shown.radio1 + ", radio 2 " + shown.radio2 + ".";
    Instruments.requestDraw();
  }

  const decoder = new TextDecoder("utf-8", { fatal: false });
  function onMessage(topic, payload) {
    if (topic === prefix + "status") {
      state.status = decoder.decode(payload).slice(0, 64);
      evaluateStale(performance.now());
      publishDom();
      return;
    }
    const name = byTopic[topic];
    if (name === undefined && topic !== prefix + "airdata/" + HEARTBEAT) return;
    state.lastArrival = performance.now();
    if (name !== undefined && payload.length <= 64) {
      // The contract's payload is a decimal number alone; anything else leaves the value as it was.
      const text = decoder.decode(payload).trim();
      const value = text === "" ? NaN : Number(text);
      if (Number.isFinite(value)) {
        state.values[name] = value;
        if (name === "latitude" || name === "longitude") updateTrack();
      }
    }
    evaluateStale(state.lastArrival);
    publishDom();
  }

  function setConnection(c) {
    if (c === state.connection) return;
    state.connection = c;
    evaluateStale(performance.now());
    publishDom();
  }

  const client = mqtt.connect(brokerUrl, {
    username: params.get("user") || undefined,
    password: params.get("password") || undefined,
    clientId: "mdn-page-" + Math.random().toString(16).slice(2, 10),
    clean: true,
    keepalive: 10,
    reconnectPeriod: 1000,
    connectTimeout: 5000,
    protocolVersion: 4,
  });
  client.on("connect", function () {
    setConnection("connected");
    const topics = [prefix + "status", prefix + "airdata/" + HEARTBEAT];
    for (const topic of Object.keys(byTopic)) topics.push(topic);
    client.subscribe(topics, { qos: 0 });
  });
  client.on("reconnect", function () { setConnection("connecting"); });
  client.on("close", function () { setConnection("disconnected"); });
  client.on("offline", function () { setConnection("disconnected"); });
  client.on("error", function () { /* reconnects by itself; the mark says it */ });
  client.on("message", onMessage);

  setInterval(function () { evaluateStale(performance.now()); }, 100);
  Instruments.attach(canvas, state);
  publishDom();
  // For checks and measurements from outside the page (read-only use expected).
  window.mdnCockpit = { client: client, state: state, prefix: prefix };
})();
