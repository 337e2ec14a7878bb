/* SPDX-FileCopyrightText: 2026 Pictalon developers */
/* SPDX-License-Identifier: GPL-3.0-or-later */
// Generates the sample gallery with pictgen in a copy of the program folder, opens every page in
// headless Chromium and checks what a visitor sees: pictures that load at the size the settings
// ask for, the cell style applied, page links that lead somewhere, pictures kept from the context
// menu, and a console without errors.
//
// Environment (set by CTest, see CMakeLists.txt beside this file):
//   PICTALON_PROGRAM_DIR  the build's program folder (data folders copied in)
//   PICTGEN, PICTGEN_ENGINE, MAKE_SAMPLE_GALLERY  the built pictgen, libPictgen.so and gallery tool
//   BROWSER_TEST_DIR      folder holding node_modules; the screenshot of page 1 is written here
//   CHROMIUM              the browser (default /usr/bin/chromium)
//   PICTALON_GUIDE_SCREENSHOT  when set, page 1's screenshot is also written to this path
//   PICTALON_GUIDE_MODERN_SCREENSHOT, PICTALON_GUIDE_VIEWER_SCREENSHOT  when set, the Modern
//                         gallery on a phone and its viewer open are written to these paths
import { after, before, describe, test } from "node:test";
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { createRequire } from "node:module";
import { fileURLToPath, pathToFileURL } from "node:url";

const env = (name) => {
  const value = process.env[name];
  if (!value) throw new Error(`${name} is not set; run this test through CTest`);
  return value;
};

const programDir = env("PICTALON_PROGRAM_DIR");
const testDir = env("BROWSER_TEST_DIR");
const chromiumPath = process.env.CHROMIUM || "/usr/bin/chromium";
const { chromium } = createRequire(path.join(testDir, "package.json"))("playwright-core");

// The flags that let Debian's Chromium run headless as root in a bare container.
const chromiumArgs = [
  "--no-sandbox",
  "--disable-gpu",
  "--no-first-run",
  "--disable-background-networking",
  "--disable-component-update",
  "--disable-sync",
];

// Settings of a gallery file that decide what the pages look like (offsets of the record).
function readGallerySettings(file) {
  const bytes = fs.readFileSync(file);
  assert.equal(bytes.length, 4384, "a gallery file is one settings record");
  const slot = (offset) => bytes.toString("utf8", offset + 1, offset + 1 + bytes[offset]);
  return {
    cellStyleSheet: slot(2816),
    outputFolder: slot(3840),
    backLinkURL: slot(4096),
    columns: bytes.readInt32LE(4352),
    rows: bytes.readInt32LE(4356),
    thumbSize: bytes.readInt32LE(4360),
    scalingMode: bytes[4376],
    disableRightClick: bytes[4381] !== 0,
  };
}

// The declarations of the first rule of a style sheet with exactly this selector.
function ruleDeclarations(cssText, selector) {
  const text = cssText.replace(/\/\*[\s\S]*?\*\//g, "");
  const escaped = selector.replace(/[.*+?^${}()|[\]\\]/g, "\\$&");
  const match = new RegExp(`(?:^|})\\s*${escaped}\\s*{([^}]*)}`).exec(text);
  assert.ok(match, `the style sheet has a rule for ${selector}`);
  return match[1].trim();
}

const pathOfUrl = (url) => fileURLToPath(url.split("#")[0]);

let workDir;
let program;
let settings;
let samples;
let browser;
const pages = new Map(); // gallery page URL -> what was seen there

before(async () => {
  assert.ok(fs.existsSync(chromiumPath), `${chromiumPath} is missing: scripts/install-deps.sh test installs it`);
  workDir = fs.mkdtempSync(path.join(os.tmpdir(), "pictalon-browser-"));
  // A private program folder: the generated pages and copies stay out of the build and source.
  program = path.join(workDir, "Pictalon");
  fs.mkdirSync(program);
  for (const file of [env("PICTGEN"), env("PICTGEN_ENGINE")])
    fs.copyFileSync(file, path.join(program, path.basename(file)));
  fs.chmodSync(path.join(program, path.basename(env("PICTGEN"))), 0o755);
  for (const folder of ["Data", "Templates", "Guide"])
    fs.cpSync(path.join(programDir, folder), path.join(program, folder), {
      recursive: true,
      filter: (source) => path.relative(path.join(programDir, "Data"), source) !== "User",
    });

  execFileSync(env("MAKE_SAMPLE_GALLERY"), [program], { stdio: "inherit" });
  const galleryFile = path.join(program, "Data", "User", "Sample.pgs");
  settings = readGallerySettings(galleryFile);
  samples = fs.readdirSync(path.join(program, "Data", "Samples")).filter((n) => /\.jpe?g$/i.test(n));

  const printed = execFileSync(path.join(program, "pictgen"), [galleryFile], { encoding: "utf8" });
  assert.equal(printed.trim(), path.join(program, "Output", "gallery1.html"), "pictgen prints the first page");

  browser = await chromium.launch({ executablePath: chromiumPath, args: chromiumArgs, headless: true });
  const context = await browser.newContext({ viewport: { width: 1100, height: 800 } });
  const page = await context.newPage();

  // Every page reachable from the first through the page navigation, each visited once.
  const queue = [pathToFileURL(printed.trim()).href];
  while (queue.length > 0) {
    const url = queue.shift();
    if (pages.has(url)) continue;
    const seen = { errors: [], failedRequests: [] };
    pages.set(url, seen);
    const onConsole = (message) => {
      if (message.type() === "error") seen.errors.push(message.text());
    };
    const onPageError = (error) => seen.errors.push(String(error));
    const onFailed = (request) => seen.failedRequests.push(`${request.url()} ${request.failure()?.errorText}`);
    page.on("console", onConsole);
    page.on("pageerror", onPageError);
    page.on("requestfailed", onFailed);
    try {
      await page.goto(url, { waitUntil: "load" });
      seen.visit = await inspectPage(page, settings);
      if (url.endsWith("/gallery1.html")) seen.screenshot = await page.screenshot({ fullPage: true });
    } catch (error) {
      seen.loadError = error.message.split("\n")[0];
    } finally {
      page.off("console", onConsole);
      page.off("pageerror", onPageError);
      page.off("requestfailed", onFailed);
    }
    for (const href of seen.visit?.links ?? [])
      if (/\/gallery\d+\.html$/.test(href)) queue.push(href);
  }
});

// The pages that opened, in page number order.
const visited = () =>
  [...pages.entries()]
    .filter(([, seen]) => seen.visit)
    .sort(([a], [b]) => a.localeCompare(b, "en", { numeric: true }));
const firstPage = () => pages.get([...pages.keys()][0]);

after(async () => {
  await browser?.close();
  if (workDir) fs.rmSync(workDir, { recursive: true, force: true });
});

// Everything the checks need from one page, gathered in the page itself.
async function inspectPage(page, gallerySettings) {
  const cellRule = ruleDeclarations(fs.readFileSync(gallerySettings.cellStyleSheet, "utf8"), ".gallerycell");
  return page.evaluate(({ cellRule }) => {
    const images = [...document.images].map((img) => {
      const style = getComputedStyle(img);
      return {
        src: img.src,
        complete: img.complete,
        naturalWidth: img.naturalWidth,
        naturalHeight: img.naturalHeight,
        widthAttribute: img.getAttribute("width"),
        heightAttribute: img.getAttribute("height"),
        renderedWidth: parseFloat(style.width),
        renderedHeight: parseFloat(style.height),
        inCell: img.closest("td.gallerycell") !== null,
      };
    });

    // The declarations of the cell rule, applied to a bare cell, must compute to exactly what the
    // gallery's cells show: proof that the output style sheet reached the page with the cell style.
    const cell = document.querySelector("td.gallerycell");
    const probeTable = document.createElement("table");
    const probe = probeTable.insertRow().insertCell();
    probe.style.cssText = cellRule;
    cell.closest("tr").parentElement.append(probeTable.rows[0]);
    const properties = [...probe.style].filter((p) => !p.startsWith("--"));
    const cellStyle = getComputedStyle(cell);
    const probeStyle = getComputedStyle(probe);
    const style = properties.map((p) => ({
      property: p,
      cell: cellStyle.getPropertyValue(p),
      declared: probeStyle.getPropertyValue(p),
    }));
    probe.parentElement.remove();

    // The right-click script: a context menu on a picture is cancelled, elsewhere it is not.
    const contextMenu = (target) => {
      const event = new MouseEvent("contextmenu", { bubbles: true, cancelable: true, button: 2 });
      target.dispatchEvent(event);
      return event.defaultPrevented;
    };
    const textTarget = document.querySelector("h1") || document.body;

    return {
      title: document.title,
      images,
      cells: document.querySelectorAll("td.gallerycell").length,
      style,
      cellPaddingTop: cellStyle.paddingTop,
      // Rules of file: style sheets cannot be read from the page; the body background rule that
      // only the output style sheet holds shows it applied.
      styleSheets: [...document.styleSheets].map((s) => s.href),
      bodyBackground: getComputedStyle(document.body).backgroundColor,
      pictureMenuPrevented: contextMenu(document.querySelector("td.gallerycell img")),
      textMenuPrevented: contextMenu(textTarget),
      links: [...document.querySelectorAll("a[href]")]
        .map((a) => a.href)
        .filter((href) => href.startsWith("file:")),
    };
  }, { cellRule });
}

describe("sample gallery in the browser", () => {
  test("every page of the gallery is reached through the page navigation", () => {
    const perPage = settings.columns * settings.rows;
    const expected = Math.ceil(samples.length / perPage);
    assert.ok(expected >= 2, "the sample gallery spreads over more than one page");
    for (const [url, seen] of pages) assert.equal(seen.loadError, undefined, `${url} opens`);
    const names = [...pages.keys()].map((url) => path.basename(url));
    assert.deepEqual(names.sort(), Array.from({ length: expected }, (_, i) => `gallery${i + 1}.html`).sort());
  });

  test("every picture is shown once, in cells filled page by page", () => {
    const perPage = settings.columns * settings.rows;
    const shown = [];
    visited().forEach(([url, { visit }], index) => {
      const left = samples.length - index * perPage;
      assert.equal(visit.cells, Math.min(perPage, left), `${url}: cells on the page`);
      shown.push(...visit.images.filter((img) => img.inCell).map((img) => path.basename(img.src)));
    });
    assert.deepEqual(shown.sort(), [...samples].sort());
  });

  test("every picture loads and no request fails", () => {
    for (const [url, { visit, failedRequests }] of visited()) {
      assert.deepEqual(failedRequests, [], `${url}: failed requests`);
      for (const img of visit.images) {
        assert.ok(img.complete && img.naturalWidth > 0, `${url}: ${img.src} did not load`);
      }
    }
  });

  test("pictures are drawn at the scaled size of the settings", () => {
    assert.equal(settings.scalingMode, 0, "the sample gallery scales proportionally");
    assert.ok(settings.thumbSize < 100);
    for (const [url, { visit }] of visited()) {
      for (const img of visit.images.filter((i) => i.inCell)) {
        const where = `${url}: ${path.basename(img.src)}`;
        const scaled = Math.trunc((img.naturalWidth * settings.thumbSize) / 100);
        assert.equal(img.widthAttribute, String(scaled), `${where}: width attribute`);
        assert.equal(img.heightAttribute, null, `${where}: no height attribute below 100 %`);
        assert.equal(img.renderedWidth, scaled, `${where}: rendered width`);
        const keptRatio = (img.naturalHeight * scaled) / img.naturalWidth;
        assert.ok(Math.abs(img.renderedHeight - keptRatio) < 1, `${where}: height ${img.renderedHeight} keeps the ratio`);
      }
    }
  });

  test("the pages use the output style sheet with the gallery's cell style", () => {
    for (const [url, { visit }] of visited()) {
      assert.ok(visit.styleSheets.some((href) => href?.endsWith("/pictalon.css")), `${url}: pictalon.css is linked`);
      assert.equal(visit.bodyBackground, "rgb(255, 255, 255)", `${url}: the body background rule applies`);
      assert.ok(visit.style.length > 3, `${url}: the cell rule has declarations`);
      for (const { property, cell, declared } of visit.style)
        assert.equal(cell, declared, `${url}: .gallerycell ${property}`);
      assert.notEqual(visit.cellPaddingTop, "1px", `${url}: cells are not in the browser's own padding`);
    }
  });

  test("links lead to existing files", () => {
    for (const [url, { visit }] of visited()) {
      for (const href of visit.links) assert.ok(fs.existsSync(pathOfUrl(href)), `${url}: link ${href}`);
    }
    const first = firstPage();
    assert.ok(first.visit, "page 1 opens");
    const back = new URL(settings.backLinkURL, pathToFileURL(path.join(program, "Output", "gallery1.html"))).href;
    assert.ok(first.visit.links.includes(back), "page 1 links back to the guide");
  });

  test("the right-click script keeps the context menu off pictures only", () => {
    assert.ok(settings.disableRightClick);
    for (const [url, { visit }] of visited()) {
      assert.equal(visit.pictureMenuPrevented, true, `${url}: context menu on a picture`);
      assert.equal(visit.textMenuPrevented, false, `${url}: context menu on text`);
    }
  });

  test("the console shows no errors", () => {
    for (const [url, { errors }] of pages) assert.deepEqual(errors, [], `${url}: console errors`);
  });

  test("a screenshot of page 1 is kept", () => {
    const shot = firstPage().screenshot;
    assert.ok(shot && shot.length > 0);
    fs.writeFileSync(path.join(testDir, "gallery-page.png"), shot);
    const guideShot = process.env.PICTALON_GUIDE_SCREENSHOT;
    if (guideShot) fs.writeFileSync(guideShot, shot);
  });
});

// An Exif APP1 segment whose first directory holds only the Orientation tag: a camera's way of
// storing a portrait photo lying on its side.
function exifOrientationSegment(orientation) {
  const payload = Buffer.alloc(6 + 8 + 2 + 12 + 4);
  payload.write("Exif\0\0II*\0", 0, "latin1");
  payload.writeUInt32LE(8, 10); // the first directory follows the header
  payload.writeUInt16LE(1, 14);
  payload.writeUInt16LE(0x0112, 16);
  payload.writeUInt16LE(3, 18); // SHORT
  payload.writeUInt32LE(1, 20);
  payload.writeUInt16LE(orientation, 24);
  const length = payload.length + 2;
  return Buffer.concat([Buffer.from([0xff, 0xe1, length >> 8, length & 0xff]), payload]);
}

// Stores text in a string slot of a settings record.
function setSlot(record, offset, text) {
  const bytes = Buffer.from(text, "utf8");
  record[offset] = bytes.length;
  bytes.copy(record, offset + 1);
}

// The sample photos and one portrait photo stored on its side (the birch wood turned a quarter
// anticlockwise, tagged to be turned back), made once.
const portrait = "00-portrait.jpg";
let photosWithPortrait;
function samplePhotosWithPortrait() {
  if (photosWithPortrait) return photosWithPortrait;
  photosWithPortrait = path.join(workDir, "photos");
  fs.mkdirSync(photosWithPortrait);
  for (const name of samples) fs.copyFileSync(path.join(program, "Data", "Samples", name), path.join(photosWithPortrait, name));
  const upright = samples.find((name) => /birch/.test(name));
  const lying = execFileSync("convert", [path.join(photosWithPortrait, upright), "-rotate", "-90", "jpg:-"]);
  fs.writeFileSync(path.join(photosWithPortrait, portrait),
                   Buffer.concat([lying.subarray(0, 2), exifOrientationSegment(6), lying.subarray(2)]));
  return photosWithPortrait;
}

// Generates a 3 x 2 gallery of those photos at Fixed Width width, copied into output, with the
// sample gallery's texts and these tail lines; returns the path of its first page.
function generateWebGallery(name, output, width, tail) {
  const record = Buffer.from(fs.readFileSync(path.join(program, "Data", "User", "Sample.pgs")));
  setSlot(record, 3328, samplePhotosWithPortrait());
  setSlot(record, 3840, output);
  record.writeInt32LE(3, 4352);
  record.writeInt32LE(2, 4356);
  record.writeInt32LE(width, 4360);
  record[4376] = 2;
  record[4383] = 1;
  const gallery = path.join(program, "Data", "User", `${name}.pgs`);
  fs.writeFileSync(gallery, Buffer.concat([record, Buffer.from(`\r\n[Pictalon]\r\n${tail}`)]));
  return execFileSync(path.join(program, "pictgen"), [gallery], { encoding: "utf8" }).trim();
}

describe("a gallery with web copies in the browser", () => {
  let visit;
  let failedRequests = [];
  let output;

  before(async () => {
    output = path.join(workDir, "web");
    const printed = generateWebGallery("Web", output, 100, "ResizeCopies=1\r\nLongestSide=320\r\n");

    const page = await (await browser.newContext({ viewport: { width: 1100, height: 800 } })).newPage();
    page.on("requestfailed", (request) => failedRequests.push(request.url()));
    await page.goto(pathToFileURL(printed).href, { waitUntil: "load" });
    visit = await inspectPage(page, settings);
    const shot = await page.screenshot({ fullPage: true });
    fs.writeFileSync(path.join(testDir, "web-copies-page.png"), shot);
  });

  test("every cell shows its cell picture, loaded, and links its web copy", () => {
    assert.deepEqual(failedRequests, []);
    const cells = visit.images.filter((img) => img.inCell);
    assert.equal(cells.length, 6);
    for (const img of cells) {
      const name = path.basename(img.src);
      assert.ok(img.complete && img.naturalWidth > 0, `${name} loaded`);
      assert.equal(path.relative(output, pathOfUrl(img.src)), path.join("gallimgs", "cells", name));
      assert.ok(img.naturalWidth <= 2 * 100, `${name}: twice the width shown at most`);
      assert.ok(visit.links.some((href) => pathOfUrl(href) === path.join(output, "gallimgs", name)), `${name}: links its web copy`);
    }
  });

  test("the portrait photo stands upright, and its copy carries no Exif block", () => {
    const img = visit.images.find((i) => path.basename(i.src) === portrait);
    assert.ok(img, "the portrait photo is on page 1");
    assert.ok(img.naturalHeight > img.naturalWidth, "the cell picture is upright");
    assert.equal(img.renderedWidth, 100);
    assert.ok(img.renderedHeight > img.renderedWidth, `drawn ${img.renderedWidth} x ${img.renderedHeight}`);
    const copy = fs.readFileSync(path.join(output, "gallimgs", portrait));
    assert.equal(copy.indexOf("Exif"), -1);
  });
});

describe("a Modern gallery in the browser", () => {
  const portraitTitle = "Birch & < beech";
  let firstPageUrl;
  const errors = [];

  // Opens page 1 in a fresh page of the given viewport, collecting console errors.
  async function openFirstPage(width, height) {
    const page = await (await browser.newContext({ viewport: { width, height } })).newPage();
    page.on("console", (message) => {
      if (message.type() === "error") errors.push(`${width}: ${message.text()}`);
    });
    page.on("pageerror", (error) => errors.push(`${width}: ${error}`));
    // A request the test cuts short by closing the page (a neighbour the viewer loads ahead) is
    // no failure of the gallery.
    page.on("requestfailed", (request) => {
      const reason = request.failure()?.errorText;
      if (reason !== "net::ERR_ABORTED") errors.push(`${width}: failed ${request.url()} ${reason}`);
    });
    await page.goto(firstPageUrl, { waitUntil: "load" });
    return page;
  }

  before(() => {
    // The sample photos with the portrait photo, 3 x 2 at Fixed Width 300 with web copies, in the
    // Modern style; the portrait photo's typed title holds markup characters.
    fs.writeFileSync(path.join(program, "Data", "User", "Modern.dat"), `[${portrait}]\r\nTitle=${portraitTitle}\r\n`);
    const printed = generateWebGallery("Modern", path.join(workDir, "modern"), 300,
                                       "ResizeCopies=1\r\nLongestSide=1024\r\nPageStyle=modern\r\n");
    firstPageUrl = pathToFileURL(printed).href;
  });

  for (const [width, height] of [[390, 844], [1366, 900]]) {
    test(`at ${width} x ${height} nothing scrolls sideways and every picture is described and sized`, async () => {
      const page = await openFirstPage(width, height);
      const seen = await page.evaluate(() => ({
        scrollWidth: document.documentElement.scrollWidth,
        clientWidth: document.documentElement.clientWidth,
        columns: getComputedStyle(document.querySelector(".md-grid")).gridTemplateColumns.split(" ").length,
        images: [...document.querySelectorAll(".md-grid img")].map((img) => ({
          name: img.getAttribute("src").split("/").pop(),
          alt: img.getAttribute("alt"),
          width: img.getAttribute("width"),
          height: img.getAttribute("height"),
          right: img.getBoundingClientRect().right,
        })),
      }));
      if (width === 390) {
        const shot = await page.screenshot();
        fs.writeFileSync(path.join(testDir, "modern-phone.png"), shot);
        if (process.env.PICTALON_GUIDE_MODERN_SCREENSHOT) fs.writeFileSync(process.env.PICTALON_GUIDE_MODERN_SCREENSHOT, shot);
      }
      await page.context().close();
      assert.ok(seen.scrollWidth <= seen.clientWidth, `laid out ${seen.scrollWidth} wide in ${seen.clientWidth}`);
      assert.equal(seen.columns, width === 390 ? 1 : 3, "the gallery's columns where they fit, fewer where not");
      assert.equal(seen.images.length, 6);
      for (const img of seen.images) {
        assert.ok(img.alt, `${img.name}: alt`);
        assert.match(img.width ?? "", /^\d+$/, `${img.name}: width`);
        assert.match(img.height ?? "", /^\d+$/, `${img.name}: height`);
        assert.ok(img.right <= seen.clientWidth, `${img.name}: inside the screen`);
      }
      const upright = seen.images.find((img) => img.name === portrait);
      assert.equal(upright.alt, portraitTitle, "the typed title, markup characters kept as text");
      assert.ok(Number(upright.height) > Number(upright.width), "the portrait photo is sized upright");
    });
  }

  test("a click opens the linked picture in the viewer; arrows, Escape and focus behave", async () => {
    const page = await openFirstPage(1366, 900);
    const links = await page.$$eval(".md-grid a[data-pswp-width]", (as) => as.map((a) => a.href));
    // Keys act once the opening animation (a third of a second) has ended.
    const opened = async () => {
      await page.locator(".pswp--open").waitFor();
      await page.waitForTimeout(700);
    };
    const shownPicture = async () => {
      const img = page.locator('.pswp__item[aria-hidden="false"] img.pswp__img:not(.pswp__img--placeholder)');
      await img.waitFor({ state: "attached" });
      return img.evaluate((element) => element.src);
    };
    await page.locator(".md-grid a[data-pswp-width]").first().click();
    await opened();
    assert.equal(page.url(), firstPageUrl, "no page load");
    assert.equal(await shownPicture(), links[0]);
    assert.equal(await page.getAttribute(".pswp", "role"), "dialog");
    assert.equal(await page.getAttribute(".pswp", "aria-label"), "Picture viewer");
    const viewerMenuPrevented = await page.evaluate(() => {
      const event = new MouseEvent("contextmenu", { bubbles: true, cancelable: true, button: 2 });
      document.querySelector('.pswp__item[aria-hidden="false"] img.pswp__img').dispatchEvent(event);
      return event.defaultPrevented;
    });
    assert.ok(viewerMenuPrevented, "the right-click script covers the viewer's picture");
    if (process.env.PICTALON_GUIDE_VIEWER_SCREENSHOT)
      fs.writeFileSync(process.env.PICTALON_GUIDE_VIEWER_SCREENSHOT, await page.screenshot());
    await page.keyboard.press("ArrowRight");
    await page.waitForFunction(
      (href) => [...document.querySelectorAll('.pswp__item[aria-hidden="false"] img.pswp__img')].some((i) => i.src === href),
      links[1]);
    await page.waitForTimeout(500);
    await page.keyboard.press("Escape");
    await page.locator(".pswp").waitFor({ state: "detached" });
    const focused = await page.evaluate(() => document.activeElement?.href);
    assert.equal(focused, links[0], "focus is back on the link that opened the viewer");

    // Back in the browser closes the viewer and stays on the page.
    await page.locator(".md-grid a[data-pswp-width]").nth(2).click();
    await opened();
    await page.goBack();
    await page.locator(".pswp").waitFor({ state: "detached" });
    assert.equal(page.url(), firstPageUrl);
    await page.context().close();
  });

  test("axe-core finds no violation, on either page", async () => {
    const axe = createRequire(path.join(testDir, "package.json"))("axe-core");
    const page = await openFirstPage(1366, 900);
    for (const url of [firstPageUrl, firstPageUrl.replace(/gallery1\.html$/, "gallery2.html")]) {
      await page.goto(url, { waitUntil: "load" });
      await page.addScriptTag({ content: axe.source });
      const violations = await page.evaluate(async () =>
        (await window.axe.run(document, { preload: false })).violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(" ")).join(", ")}`));
      assert.deepEqual(violations, [], url);
    }
    await page.context().close();
  });

  test("the console shows no errors and no request fails", () => {
    assert.deepEqual(errors, []);
  });
});
