// Browser oracle: a page must mean the same to a browser after `tavrel rebuild`
// as before it.
//
// Usage: node dom_oracle.mjs TAVREL SCRATCH_DIR PAGE_OR_DIR...
//
// Each page is copied into SCRATCH_DIR, loaded in headless Chromium with
// JavaScript off and every request that is not a file: URL aborted, rebuilt
// with TAVREL, loaded again and compared: document.compatMode, the DOM
// (element names, attributes in order, text, comments exactly) and a
// full-page screenshot, to the byte. Text is compared with white space at its
// ends trimmed and white-space-only text left out, as white space next to
// tags is layout. The generated section is compared as the entries
// `tavrel list --json` reads, not as markup, since the program writes it in
// its own form; it is taken out of the screenshot, as are marquees, which
// move. A named anchor (A with NAME and without HREF) is described as empty
// and followed by its content, because the rebuild moves that content out
// behind it on purpose. A second rebuild must leave the page byte for byte as
// the first one did. One browser serves the whole run.
//
// Exit codes: 0 every page passed; 1 a page failed; 77 no Chromium or no
// playwright-core here (the test is then reported as skipped), unless
// TAVREL_REQUIRE_BROWSER is set, as CI sets it: then 1.
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import path from "node:path";
import { pathToFileURL } from "node:url";

const kSkip = 77;
const kChromium = process.env.TAVREL_CHROMIUM || "/usr/bin/chromium";

async function loadPlaywright() {
  try {
    return await import("playwright-core");
  } catch {
    return null;
  }
}

function pagesOf(args) {
  const pages = [];
  for (const arg of args) {
    if (fs.statSync(arg).isDirectory()) {
      for (const name of fs.readdirSync(arg).sort()) {
        if (/\.html?$/i.test(name)) pages.push(path.join(arg, name));
      }
    } else {
      pages.push(arg);
    }
  }
  return pages;
}

// Runs in the browser: the DOM as lines, one per node, indented by depth.
// Afterwards the generated section is taken out of the layout and marquees
// are hidden, so that a screenshot shows only what must not change.
function describeDocument() {
  const lines = [];
  const isSection = (node) => {
    if (node.nodeType !== 1 || node.localName !== "dl") return false;
    for (let child = node.firstChild; child; child = child.nextSibling) {
      if (child.nodeType === 3 && child.data.trim() === "") continue;
      return child.nodeType === 8 && child.data.startsWith(" Automati");
    }
    return false;
  };
  const walk = (node, depth) => {
    const indent = " ".repeat(depth);
    if (node.nodeType === 1) {
      if (isSection(node)) {
        lines.push(indent + "[generated section]");
        node.style.display = "none";
        return;
      }
      if (node.localName === "marquee") node.style.visibility = "hidden";
      const ns = node.namespaceURI === "http://www.w3.org/1999/xhtml" ? "" : node.namespaceURI + " ";
      const attrs = Array.from(node.attributes, (a) => ` ${a.name}=${JSON.stringify(a.value)}`);
      lines.push(indent + "<" + ns + node.localName + attrs.join("") + ">");
      const content = node.localName === "template" ? node.content : node;
      const named = node.localName === "a" && node.hasAttribute("name") && !node.hasAttribute("href");
      for (let child = content.firstChild; child; child = child.nextSibling) {
        walk(child, named ? depth : depth + 1);
      }
    } else if (node.nodeType === 3) {
      // Text that follows the content of a named anchor joins it, as it does
      // once that content has been moved out.
      const last = lines[lines.length - 1];
      if (last && last.indent === indent && last.text !== undefined) {
        last.text += node.data;
      } else {
        lines.push({ indent, text: node.data });
      }
    } else if (node.nodeType === 8) {
      lines.push(indent + "<!--" + JSON.stringify(node.data) + "-->");
    } else if (node.nodeType === 10) {
      lines.push(indent + "<!DOCTYPE " + node.name + " " + node.publicId + " " + node.systemId + ">");
    }
  };
  for (let child = document.firstChild; child; child = child.nextSibling) walk(child, 0);
  const described = lines
    .map((line) => (typeof line === "string" ? line : line.indent + JSON.stringify(line.text.trim())))
    .filter((line) => !line.endsWith('""'));
  return { compatMode: document.compatMode, lines: described };
}

async function browserView(page, file) {
  await page.goto(pathToFileURL(file).href, { waitUntil: "load" });
  const view = await page.evaluate(describeDocument);
  view.pixels = await page.screenshot({ fullPage: true, animations: "disabled", caret: "hide" });
  return view;
}

// How often shots that differ are taken in all, of both pages, so that a
// frame drawn late on a busy machine is not a fault; each retry waits a
// little longer first.
const kRenderingTries = 4;

// Whether two pages render the same.
async function sameRendering(page, before, after, beforeFile, afterFile) {
  if (before.pixels.equals(after.pixels)) return true;
  for (let attempt = 1; attempt < kRenderingTries; ++attempt) {
    await page.waitForTimeout(250 * attempt);
    const again = [await browserView(page, beforeFile), await browserView(page, afterFile)];
    if (again[0].pixels.equals(again[1].pixels)) return true;
  }
  return false;
}

function tavrel(binary, args) {
  return execFileSync(binary, args, { encoding: "utf8", stdio: ["ignore", "pipe", "pipe"] });
}

// The first line where two descriptions differ, with a little context.
function firstDifference(before, after) {
  const length = Math.max(before.length, after.length);
  for (let i = 0; i < length; ++i) {
    if (before[i] !== after[i]) {
      return `line ${i + 1}:\n  before: ${before[i] ?? "(end)"}\n  after:  ${after[i] ?? "(end)"}`;
    }
  }
  return null;
}

// A command that fails is a fault of the page, reported with its message.
class CommandFailed extends Error {}

function tavrelOrFault(binary, args) {
  try {
    return tavrel(binary, args);
  } catch (error) {
    throw new CommandFailed(`tavrel ${args[0]} failed: ${String(error.stderr ?? error).trim()}`);
  }
}

async function checkPage(page, binary, scratch, source) {
  try {
    return await comparePage(page, binary, scratch, source);
  } catch (error) {
    if (error instanceof CommandFailed) return [error.message];
    throw error;
  }
}

async function comparePage(page, binary, scratch, source) {
  const name = path.basename(source);
  const copy = path.join(scratch, name);
  const original = path.join(scratch, "original-" + name);
  fs.copyFileSync(source, copy);
  fs.copyFileSync(source, original);
  const entriesBefore = tavrelOrFault(binary, ["list", copy, "--json"]);
  const before = await browserView(page, copy);
  tavrelOrFault(binary, ["rebuild", copy]);
  const once = fs.readFileSync(copy);
  const after = await browserView(page, copy);
  const entriesAfter = tavrelOrFault(binary, ["list", copy, "--json"]);
  tavrelOrFault(binary, ["rebuild", copy]);
  const twice = fs.readFileSync(copy);

  const faults = [];
  if (before.compatMode !== after.compatMode) {
    faults.push(`compatMode ${before.compatMode} became ${after.compatMode}`);
  }
  const difference = firstDifference(before.lines, after.lines);
  if (difference) faults.push("DOM differs at " + difference);
  if (!(await sameRendering(page, before, after, original, copy))) {
    faults.push("the screenshot differs");
  }
  if (entriesBefore !== entriesAfter) faults.push("entries read differently after the rebuild");
  if (!once.equals(twice)) faults.push("a second rebuild changed the page");
  return faults;
}

async function main() {
  const [binary, scratch, ...inputs] = process.argv.slice(2);
  if (!binary || !scratch || inputs.length === 0) {
    console.error("usage: node dom_oracle.mjs TAVREL SCRATCH_DIR PAGE_OR_DIR...");
    return 2;
  }
  const playwright = await loadPlaywright();
  if (!fs.existsSync(kChromium) || playwright === null) {
    console.log(`skipped: needs ${kChromium} and playwright-core (scripts/install-deps.sh --browser)`);
    return process.env.TAVREL_REQUIRE_BROWSER ? 1 : kSkip;
  }
  fs.rmSync(scratch, { recursive: true, force: true });
  fs.mkdirSync(scratch, { recursive: true });

  const browser = await playwright.chromium.launch({
    executablePath: kChromium,
    args: ["--no-sandbox"],
  });
  let failed = 0;
  try {
    const context = await browser.newContext({ javaScriptEnabled: false });
    await context.route("**/*", (route) =>
      route.request().url().startsWith("file:") ? route.continue() : route.abort());
    const page = await context.newPage();
    const pages = pagesOf(inputs);
    for (const source of pages) {
      const faults = await checkPage(page, binary, scratch, source);
      if (faults.length === 0) {
        console.log(`ok    ${source}`);
      } else {
        ++failed;
        console.log(`FAIL  ${source}\n      ${faults.join("\n      ")}`);
      }
    }
    console.log(`${pages.length - failed} of ${pages.length} pages mean the same after a rebuild`);
  } finally {
    await browser.close();
  }
  return failed === 0 ? 0 : 1;
}

process.exitCode = await main();
