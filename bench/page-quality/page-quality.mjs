/* SPDX-FileCopyrightText: 2026 Pictalon developers */
/* SPDX-License-Identifier: GPL-3.0-or-later */
// The measuring half of run.sh: generates the gallery in both styles, serves it on 127.0.0.1 and
// runs Lighthouse four ways (two styles, two presets), RUNS times each.
import { execFile, execFileSync } from "node:child_process";
import fs from "node:fs";
import http from "node:http";
import path from "node:path";
import { promisify } from "node:util";

const build = process.env.PICTALON_BUILD;
const photos = process.env.PHOTOS;
const work = process.env.WORK;
const runs = Number(process.env.RUNS || 3);
const chromium = process.env.CHROMIUM || "/usr/bin/chromium";
const styles = ["classic", "modern"];

// A program folder of the bench's own, with the built engine and the shipped data.
const program = path.join(work, "Pictalon");
fs.rmSync(program, { recursive: true, force: true });
fs.mkdirSync(program, { recursive: true });
const built = path.join(build, "Pictalon");
for (const file of ["pictgen", "libPictgen.so"]) fs.copyFileSync(path.join(built, file), path.join(program, file));
fs.chmodSync(path.join(program, "pictgen"), 0o755);
for (const folder of ["Data", "Templates"])
  fs.cpSync(path.join(built, folder), path.join(program, folder), {
    recursive: true,
    filter: (source) => path.basename(source) !== "User",
  });
execFileSync(path.join(build, "tools", "make-sample-gallery"), [program]);

// Stores text in a string slot of the settings record.
function setSlot(record, offset, text) {
  const bytes = Buffer.from(text, "utf8");
  record[offset] = bytes.length;
  bytes.copy(record, offset + 1);
}

// 4 x 3 at Fixed Width 300, copies resized for the web, the sample gallery's texts, no Back link
// (it would lead out of the served site).
const site = path.join(work, "site");
const count = fs.readdirSync(photos).filter((n) => /\.jpe?g$/i.test(n)).length;
for (const style of styles) {
  const record = Buffer.from(fs.readFileSync(path.join(program, "Data", "User", "Sample.pgs")));
  setSlot(record, 3328, photos);
  setSlot(record, 3840, path.join(site, style));
  setSlot(record, 4096, "");
  record.writeInt32LE(4, 4352);
  record.writeInt32LE(3, 4356);
  record.writeInt32LE(300, 4360);
  record[4376] = 2;
  record[4383] = 1;
  const gallery = path.join(program, "Data", "User", `${style}.pgs`);
  const tail = `\r\n[Pictalon]\r\nResizeCopies=1\r\nLongestSide=1600\r\n${style === "modern" ? "PageStyle=modern\r\n" : ""}`;
  fs.writeFileSync(gallery, Buffer.concat([record, Buffer.from(tail)]));
  fs.rmSync(path.join(site, style), { recursive: true, force: true });
  execFileSync(path.join(program, "pictgen"), [gallery]);
}

// A plain static server: no compression and no cache headers, so what shows is the files' own.
const types = { ".html": "text/html; charset=utf-8", ".css": "text/css", ".js": "text/javascript",
                ".jpg": "image/jpeg", ".svg": "image/svg+xml", ".png": "image/png" };
const server = http.createServer((request, response) => {
  const file = path.join(site, decodeURIComponent(new URL(request.url, "http://x").pathname));
  if (!file.startsWith(site + path.sep) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
    response.writeHead(404).end();
    return;
  }
  response.writeHead(200, { "Content-Type": types[path.extname(file).toLowerCase()] || "application/octet-stream" });
  fs.createReadStream(file).pipe(response);
});
await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
const port = server.address().port;

const lighthouse = path.join(work, "node_modules", ".bin", "lighthouse");
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const rows = [];
const failing = new Map();
for (const style of styles) {
  for (const preset of ["phone", "desktop"]) {
    const reports = [];
    for (let i = 0; i < runs; ++i) {
      const out = path.join(work, `${style}-${preset}-${i}.json`);
      const args = [`http://127.0.0.1:${port}/${style}/gallery1.html`, `--chrome-path=${chromium}`,
        "--chrome-flags=--headless=new --no-sandbox --disable-gpu", "--output=json", `--output-path=${out}`,
        "--quiet", "--only-categories=performance,accessibility,best-practices,seo"];
      if (preset === "desktop") args.push("--preset=desktop");
      await promisify(execFile)(lighthouse, args, { maxBuffer: 1 << 26 });
      reports.push(JSON.parse(fs.readFileSync(out, "utf8")));
    }
    const score = (id) => median(reports.map((r) => Math.round(r.categories[id].score * 100)));
    const audit = (id) => median(reports.map((r) => r.audits[id].numericValue));
    rows.push([style, preset, score("performance"), score("accessibility"), score("best-practices"), score("seo"),
               Math.round(audit("largest-contentful-paint")), audit("cumulative-layout-shift").toFixed(3),
               Math.round(audit("total-byte-weight") / 1024)]);
    for (const report of reports)
      for (const category of Object.values(report.categories))
        for (const ref of category.auditRefs) {
          const result = report.audits[ref.id];
          if (ref.weight > 0 && result.score !== null && result.score < 0.9)
            failing.set(`${style} ${preset}: ${ref.id}`, result.title);
        }
  }
}
server.close();

console.log(`Lighthouse 12.2.3 in ${chromium}: ${count} photos, 4 x 3 at Fixed Width 300 with web copies, ` +
            `medians of ${runs} run(s)`);
const widths = [8, 8, 5, 5, 5, 5, 8, 7, 14];
const line = (cells) => cells.map((c, i) => (i < 2 ? String(c).padEnd(widths[i]) : String(c).padStart(widths[i]))).join(" ");
console.log(line(["style", "preset", "perf", "a11y", "best", "seo", "LCP ms", "CLS", "first page KB"]));
for (const row of rows) console.log(line(row));
if (failing.size > 0) {
  console.log("\nAudits below 0.9:");
  for (const [where, title] of failing) console.log(`  ${where}: ${title}`);
}
