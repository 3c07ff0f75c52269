// Writes docs/components.png: a page with a Tabulator grid, a Quill editor and an ECharts chart,
// each built by the plug-in's own scripts.
//   BUILD_DIR=build node tests/js/screenshot.mjs   (after building tamrel_script_dump)
import path from 'node:path';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { spawnSync } from 'node:child_process';
import { dumpScripts, launchBrowser, newContext, executeScript, ORIGIN, repoRoot } from './harness.mjs';
import { componentCases, componentPage } from './component_fixture.mjs';

const names = ['tabulator', 'quillOptions', 'echarts', 'echartsSecond'];
const libs = mkdtempSync(path.join(tmpdir(), 'tamrel-weblib-'));
const browser = await launchBrowser();
try {
  const layout = spawnSync(path.join(repoRoot, 'scripts', 'web-libraries.sh'), [path.join(libs, 'WebLibraries')], { stdio: 'inherit' });
  if (layout.status !== 0) throw new Error('web-libraries.sh failed');
  const texts = dumpScripts(names.map((n) => componentCases[n]));
  const context = await newContext(browser, texts.initScript, {
    files: { '/components.html': componentPage({ libraries: true }) },
    staticRoot: path.join(libs, 'WebLibraries'), viewport: { width: 1000, height: 600 },
  });
  const page = await context.newPage();
  await page.goto(ORIGIN + '/components.html');
  for (const [i, name] of names.entries()) {
    const { json } = await executeScript(page, texts.scripts[i].script);
    if (!/^"OK:/.test(json || '')) throw new Error(`${name}: ${json}`);
  }
  await page.evaluate(() => window.tamrelDesk.editors['ns:editor'].setContents([
    { insert: 'Rich text ' }, { insert: 'built by', attributes: { bold: true } },
    { insert: ' zkTamrelQuillEditor, ' }, { insert: 'ready to edit.', attributes: { italic: true } }, { insert: '\n' }]));
  await page.waitForFunction(() => document.querySelectorAll('#grid-1 .tabulator-row').length === 3);
  const out = path.join(repoRoot, 'docs', 'components.png');
  await page.screenshot({ path: out });
  console.log(out);
} finally {
  await browser.close();
  rmSync(libs, { recursive: true, force: true });
}
