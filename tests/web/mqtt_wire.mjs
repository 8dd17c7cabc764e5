// A small MQTT 3.1.1 client over TCP (QoS 0 only): enough to play a station in tests and
// measurements without installing a client library.
import net from "node:net";

function remainingLength(n) {
  const bytes = [];
  do {
    let b = n % 128;
    n = Math.floor(n / 128);
    if (n > 0) b |= 0x80;
    bytes.push(b);
  } while (n > 0);
  return Buffer.from(bytes);
}

function str(s) {
  const b = Buffer.from(s, "utf8");
  const len = Buffer.alloc(2);
  len.writeUInt16BE(b.length);
  return Buffer.concat([len, b]);
}

function packet(typeAndFlags, body) {
  return Buffer.concat([Buffer.from([typeAndFlags]), remainingLength(body.length), body]);
}

export class WireClient {
  // options: { clientId, will: { topic, payload, retain }, username, password, keepalive }
  static connect(port, options = {}) {
    return new Promise((resolve, reject) => {
      const socket = net.connect(port, "127.0.0.1");
      socket.setNoDelay(true);
      const client = new WireClient(socket);
      const fail = (e) => reject(e);
      socket.once("error", fail);
      client.onConnack = (code) => {
        socket.off("error", fail);
        socket.on("error", () => {});
        if (code === 0) resolve(client);
        else reject(new Error(`broker refused the connection: return code ${code}`));
      };
      socket.once("connect", () => socket.write(client.connectPacket(options)));
    });
  }

  constructor(socket) {
    this.socket = socket;
    this.buffer = Buffer.alloc(0);
    this.onConnack = null;
    this.onMessage = null;   // (topic, payload Buffer) => void
    this.onSuback = null;
    socket.on("data", (d) => this.receive(d));
  }

  connectPacket(o) {
    let flags = 0x02;  // clean session
    const parts = [str("MQTT"), Buffer.from([4])];
    const tail = [str(o.clientId || `mdn-wire-${process.pid}-${Math.random().toString(16).slice(2, 8)}`)];
    if (o.will) {
      flags |= 0x04 | (o.will.retain ? 0x20 : 0);
      tail.push(str(o.will.topic), str(o.will.payload));
    }
    if (o.username !== undefined) { flags |= 0x80; tail.push(str(o.username)); }
    if (o.password !== undefined) { flags |= 0x40; tail.push(str(o.password)); }
    const keep = Buffer.alloc(2);
    keep.writeUInt16BE(o.keepalive ?? 60);
    return packet(0x10, Buffer.concat([...parts, Buffer.from([flags]), keep, ...tail]));
  }

  publish(topic, payload, retain = false) {
    const body = Buffer.concat([str(topic), Buffer.isBuffer(payload) ? payload : Buffer.from(String(payload))]);
    this.socket.write(packet(0x30 | (retain ? 1 : 0), body));
  }

  subscribe(topics) {
    const id = Buffer.from([0, 1]);
    const filters = topics.map((t) => Buffer.concat([str(t), Buffer.from([0])]));
    return new Promise((resolve) => {
      this.onSuback = resolve;
      this.socket.write(packet(0x82, Buffer.concat([id, ...filters])));
    });
  }

  receive(data) {
    this.buffer = Buffer.concat([this.buffer, data]);
    for (;;) {
      if (this.buffer.length < 2) return;
      let length = 0, multiplier = 1, i = 1, b;
      do {
        if (i >= this.buffer.length) return;
        b = this.buffer[i++];
        length += (b & 0x7f) * multiplier;
        multiplier *= 128;
      } while (b & 0x80 && i < 5);
      if (this.buffer.length < i + length) return;
      const type = this.buffer[0] >> 4;
      const body = this.buffer.subarray(i, i + length);
      this.buffer = this.buffer.subarray(i + length);
      if (type === 2 && this.onConnack) this.onConnack(body[1]);
      else if (type === 9 && this.onSuback) this.onSuback();
      else if (type === 3 && this.onMessage) {
        const tlen = body.readUInt16BE(0);
        this.onMessage(body.subarray(2, 2 + tlen).toString("utf8"), body.subarray(2 + tlen));
      }
    }
  }

  // A clean DISCONNECT: the broker drops the will.
  async end() {
    await new Promise((r) => this.socket.end(Buffer.from([0xe0, 0]), r));
  }

  // Gone without a word, as a killed process: the broker sends the will.
  destroy() { this.socket.destroy(); }
}
