// A private broker for a run of its own: starts it, writes "PORT WS_PORT" to FOLDER/ports,
// and stops it on SIGTERM or SIGINT.
//   node private_broker.mjs FOLDER HTTP_DIR
import fs from "node:fs";
import path from "node:path";
import { Broker } from "./broker.mjs";

const [folder, httpDir] = process.argv.slice(2);
const broker = new Broker(folder, httpDir);
await broker.start();
fs.writeFileSync(path.join(folder, "ports"), `${broker.port} ${broker.wsPort}\n`);
const stop = async () => { await broker.stop(); process.exit(0); };
process.on("SIGTERM", stop);
process.on("SIGINT", stop);
broker.process.once("exit", () => process.exit(1));
