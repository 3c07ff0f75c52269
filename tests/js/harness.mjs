// Shared harness of the page-side tests: the texts the plug-in builds (written by
// tamrel_script_dump under Wine), headless Chromium, a stand-in for window.chrome.webview and
// pages served from memory under http://tamrel.test/ (nothing reaches the network).
import { spawnSync } from 'node:child_process';
import { mkdtempSync, readFileSync, writeFileSync, existsSync, rmSync, mkdirSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';

export const ORIGIN = 'http://tamrel.test';
export const CONSOLE_PREFIX = '__TAMREL_CONSOLE__';

const repoRoot = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..', '..');
const buildDir = process.env.BUILD_DIR || path.join(repoRoot, 'build');

function winePath(p) {
  return 'Z:' + path.resolve(p).replace(/\//g, '\\');
}

// Runs the plug-in's own builders: cases are [kind, id, json] triples; the answer holds the
// page-script texts and one built script per case.
export function dumpScripts(cases = []) {
  const exe = process.env.TAMREL_SCRIPT_DUMP || path.join(buildDir, 'bin', 'tamrel_script_dump.exe');
  if (!existsSync(exe)) throw new Error(`${exe} is missing: build the target tamrel_script_dump`);
  const work = mkdtempSync(path.join(tmpdir(), 'tamrel-dump-'));
  try {
    const casesFile = path.join(work, 'cases.json');
    const outFile = path.join(work, 'out.json');
    writeFileSync(casesFile, JSON.stringify(cases), 'utf8');
    const env = { ...process.env };
    env.WINEPREFIX ??= path.join(buildDir, 'wineprefix');
    env.WINEDEBUG ??= '-all';
    delete env.DISPLAY;
    const run = spawnSync('wine', [exe, winePath(outFile), winePath(casesFile)], { env, encoding: 'utf8' });
    if (run.status !== 0) throw new Error(`tamrel_script_dump failed (${run.status}): ${run.stderr}`);
    return JSON.parse(readFileSync(outFile, 'utf8'));
  } finally {
    rmSync(work, { recursive: true, force: true });
  }
}

export async function launchBrowser() {
  return chromium.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync'],
  });
}

// Installed before the plug-in's script, as WebView2 provides window.chrome.webview before any
// document-creation script runs. window.__host records what the page posts and delivers
// messages from the host; it also counts "tamrelDeskReady" events of the document.
export function webviewStandIn(pre = '') {
  return `(() => {
    const source = new EventTarget();
    const host = { posted: [], ready: 0,
      post(data) { source.dispatchEvent(new MessageEvent('message', { data })); } };
    window.__host = host;
    window.chrome = window.chrome || {};
    window.chrome.webview = {
      postMessage(value) { host.posted.push(value); },
      addEventListener: source.addEventListener.bind(source),
      removeEventListener: source.removeEventListener.bind(source),
    };
    window.addEventListener('tamrelDeskReady', () => { host.ready++; });
    ${pre}
  })();`;
}

// A context whose every document gets the stand-in, then the plug-in's init script, and whose
// pages come from `files` (path -> body) or from the folder `staticRoot` (for /WebLibraries/).
export async function newContext(browser, initScript, { files = {}, staticRoot = null, pre = '', viewport } = {}) {
  const context = await browser.newContext({ viewport: viewport || { width: 1000, height: 700 } });
  await context.addInitScript({ content: webviewStandIn(pre) });
  await context.addInitScript({ content: initScript });
  await context.route('**/*', async (route) => {
    const url = new URL(route.request().url());
    if (url.origin !== ORIGIN) return route.abort();
    const body = files[url.pathname];
    if (body !== undefined) return route.fulfill({ body, contentType: contentType(url.pathname) });
    if (staticRoot && url.pathname.startsWith('/WebLibraries/')) {
      const file = path.join(staticRoot, decodeURIComponent(url.pathname.slice('/WebLibraries/'.length)));
      if (file.startsWith(staticRoot) && existsSync(file)) {
        return route.fulfill({ body: readFileSync(file), contentType: contentType(file) });
      }
    }
    return route.fulfill({ status: 404, body: 'not found' });
  });
  return context;
}

function contentType(p) {
  if (p.endsWith('.js')) return 'text/javascript; charset=utf-8';
  if (p.endsWith('.css')) return 'text/css; charset=utf-8';
  return 'text/html; charset=utf-8';
}

// What the page posted so far, console messages decoded (raw text kept beside the object).
export async function posted(page) {
  return page.evaluate(() => window.__host.posted.slice());
}

export function consoleMessages(list) {
  return list.filter((m) => typeof m === 'string' && m.startsWith(CONSOLE_PREFIX))
    .map((m) => ({ raw: m.slice(CONSOLE_PREFIX.length), ...JSON.parse(m.slice(CONSOLE_PREFIX.length)) }));
}

// Runs a script as ExecuteScript does: in the page's global scope, the result as its JSON
// text (what reaches the result variable), a script that fails to compile or throws gives
// null and nothing escapes into the caller.
export async function executeScript(page, script) {
  const cdp = await page.context().newCDPSession(page);
  try {
    const answer = await cdp.send('Runtime.evaluate', { expression: script, returnByValue: true });
    if (answer.exceptionDetails) return { json: null, exception: answer.exceptionDetails };
    return { json: answer.result.value === undefined ? null : JSON.stringify(answer.result.value) };
  } finally {
    await cdp.detach();
  }
}

export function workDir(name) {
  const root = process.env.TAMREL_JS_WORK || path.join(buildDir, 'js-tests');
  const dir = path.join(root, name);
  mkdirSync(dir, { recursive: true });
  return dir;
}

export { repoRoot, buildDir };
