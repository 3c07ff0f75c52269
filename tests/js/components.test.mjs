// The Tabulator, Quill and ECharts scripts exactly as the plug-in builds them, run as
// ExecuteScript runs them, in pages that load the release folder's WebLibraries.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { existsSync } from 'node:fs';
import path from 'node:path';
import { dumpScripts, launchBrowser, newContext, executeScript, posted, consoleMessages, ORIGIN, buildDir } from './harness.mjs';
import { componentCases, componentPage } from './component_fixture.mjs';

const webLibraries = process.env.TAMREL_WEB_LIBRARIES || path.join(buildDir, 'js-tests', 'WebLibraries');
let texts;
let scripts;  // case name -> script text built by the plug-in
let browser;

// Counts the resize listeners that the chart script adds (not those of the libraries).
const countChartResizeListeners = `window.__chartResizeListeners = 0;
  const add = window.addEventListener;
  window.addEventListener = function (type, fn, ...rest) {
    if (type === 'resize' && String(fn).includes('tamrelDesk.charts')) window.__chartResizeListeners++;
    return add.call(this, type, fn, ...rest);
  };`;

before(async () => {
  assert.ok(existsSync(path.join(webLibraries, 'Tabulator', 'tabulator.min.js')),
            `${webLibraries} is not laid out (scripts/web-libraries.sh)`);
  const cases = Object.entries(componentCases);
  texts = dumpScripts(cases.map(([, c]) => c));
  scripts = Object.fromEntries(cases.map(([name], i) => [name, texts.scripts[i].script]));
  for (const s of texts.scripts) assert.equal(s.validId, s.id !== 'bad id', s.id);
  browser = await launchBrowser();
});
after(async () => { await browser?.close(); });

async function openPage(pathName = '/components.html', viewport) {
  const files = { '/components.html': componentPage({ libraries: true }), '/bare.html': componentPage({ libraries: false }) };
  const context = await newContext(browser, texts.initScript,
                                   { files, staticRoot: webLibraries, pre: countChartResizeListeners, viewport });
  const page = await context.newPage();
  const pageErrors = [];
  page.on('pageerror', (e) => pageErrors.push(e));
  await page.goto(ORIGIN + pathName);
  return { context, page, pageErrors };
}

async function run(page, name) {
  return (await executeScript(page, scripts[name])).json;
}

test('the library and container checks answer with their texts', async () => {
  const { context, page } = await openPage('/bare.html');
  try {
    assert.equal(await run(page, 'tabulator'), '"ERROR: Tabulator library not loaded"');
    assert.equal(await run(page, 'quillBlank'), '"ERROR: Quill library not loaded"');
    assert.equal(await run(page, 'echarts'), '"ERROR: ECharts library not loaded"');
    // A global of the wrong kind does not count as a loaded Tabulator or Quill.
    await page.evaluate(() => { window.Tabulator = {}; window.Quill = 'Quill'; });
    assert.equal(await run(page, 'tabulator'), '"ERROR: Tabulator library not loaded"');
    assert.equal(await run(page, 'quillBlank'), '"ERROR: Quill library not loaded"');
    await page.goto(ORIGIN + '/components.html');
    for (const name of ['tabulatorAbsent', 'quillAbsent', 'echartsAbsent']) {
      assert.equal(await run(page, name), '"ERROR: container not found"', name);
    }
    assert.equal(await page.evaluate(() => Object.keys(window.tamrelDesk).sort().join()), 'onMessage,postMessage,version');
  } finally {
    await context.close();
  }
});

test('Tabulator builds the grid with the given rows and replaces it on a second run', async () => {
  const { context, page, pageErrors } = await openPage();
  try {
    assert.equal(await run(page, 'tabulator'), '"OK:Tabulator"');
    const rowsOf = () => page.evaluate(() => [...document.querySelectorAll('#grid-1 .tabulator-row')]
      .map((r) => [...r.querySelectorAll('.tabulator-cell')].map((c) => c.textContent)));
    await page.waitForFunction(() => document.querySelectorAll('#grid-1 .tabulator-row').length === 3);
    assert.deepEqual(await rowsOf(), [['Ada', '\u0141\u00f3d\u017a', '36'], ['Linus', 'Helsinki', '54'], ['Grace', 'New York', '85']]);
    await page.evaluate(() => { window.firstGrid = window.tamrelDesk.tables['grid-1']; });

    assert.equal(await run(page, 'tabulatorAgain'), '"OK:Tabulator"');
    await page.waitForFunction(() => document.querySelectorAll('#grid-1 .tabulator-row').length === 1);
    assert.deepEqual(await rowsOf(), [['Only']]);
    const state = await page.evaluate(() => {
      const tables = window.Tabulator.findTable('#grid-1');
      return { registered: tables.length, current: tables[0] === window.tamrelDesk.tables['grid-1'],
               replaced: window.firstGrid !== window.tamrelDesk.tables['grid-1'],
               headers: document.querySelectorAll('#grid-1 .tabulator-header').length };
    });
    assert.deepEqual(state, { registered: 1, current: true, replaced: true, headers: 1 });
    assert.deepEqual(pageErrors, []);
  } finally {
    await context.close();
  }
});

test('Quill builds an editor (blank options mean {}) and a second run starts afresh', async () => {
  const { context, page, pageErrors } = await openPage();
  try {
    assert.equal(await run(page, 'quillBlank'), '"OK:Quill"');
    const first = await page.evaluate(() => {
      const editor = window.tamrelDesk.editors['ns:editor'];
      editor.setText('typed into the first editor');
      window.firstEditor = editor;
      return { found: window.Quill.find(document.getElementById('ns:editor')) === editor,
               editable: editor.root.isContentEditable,
               themed: /ql-(bubble|snow)/.test(editor.container.className),
               placeholder: editor.root.dataset.placeholder || '' };
    });
    assert.deepEqual(first, { found: true, editable: true, themed: false, placeholder: '' });

    assert.equal(await run(page, 'quillOptions'), '"OK:Quill"');
    const second = await page.evaluate(() => {
      const el = document.getElementById('ns:editor');
      const editor = window.tamrelDesk.editors['ns:editor'];
      return { editors: el.querySelectorAll('.ql-editor').length, text: editor.getText(),
               firstGone: !document.contains(window.firstEditor.root), found: window.Quill.find(el) === editor,
               placeholder: editor.root.dataset.placeholder, bubble: el.classList.contains('ql-bubble') };
    });
    assert.deepEqual(second, { editors: 1, text: '\n', firstGone: true, found: true,
                               placeholder: 'Schreiben Sie hier \u2026', bubble: true });
    await page.focus('#ns\\:editor .ql-editor');
    await page.keyboard.type('Hallo');
    assert.equal(await page.evaluate(() => window.tamrelDesk.editors['ns:editor'].getText()), 'Hallo\n');
    assert.deepEqual(pageErrors, []);
  } finally {
    await context.close();
  }
});

test('ECharts draws the given series and disposes the first chart on a second run', async () => {
  const { context, page, pageErrors } = await openPage();
  try {
    assert.equal(await run(page, 'echarts'), '"OK:ECharts"');
    const first = await page.evaluate(() => {
      const el = document.getElementById('chart_2');
      const chart = window.tamrelDesk.charts.chart_2;
      window.firstChart = chart;
      const canvas = el.querySelector('canvas');
      const pixels = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
      let painted = 0;
      for (let i = 3; i < pixels.length; i += 4) if (pixels[i] !== 0) painted++;
      return { same: window.echarts.getInstanceByDom(el) === chart, canvases: el.querySelectorAll('canvas').length,
               painted, series: chart.getOption().series.map((s) => [s.type, s.name, s.data]) };
    });
    assert.equal(first.same, true);
    assert.equal(first.canvases, 1);
    assert.ok(first.painted > 1000, `the canvas shows the chart (${first.painted} pixels painted)`);
    assert.deepEqual(first.series, [['bar', 'Stunden \u00e9t\u00e9', [5, 20, 36, 10]]]);

    assert.equal(await run(page, 'echartsAgain'), '"OK:ECharts"');
    const second = await page.evaluate(() => {
      const el = document.getElementById('chart_2');
      const chart = window.tamrelDesk.charts.chart_2;
      const option = chart.getOption();
      return { firstDisposed: window.firstChart.isDisposed(), current: window.echarts.getInstanceByDom(el) === chart,
               canvases: el.querySelectorAll('canvas').length, series: option.series.map((s) => [s.type, s.data]),
               // the disposed chart left nothing of its option behind
               xAxis: option.xAxis[0].data, titles: (option.title || []).map((t) => t.text) };
    });
    assert.deepEqual(second, { firstDisposed: true, current: true, canvases: 1,
                               series: [['line', [3, 1, 2]]], xAxis: ['x', 'y', 'z'], titles: [] });
    assert.deepEqual(pageErrors, []);
  } finally {
    await context.close();
  }
});

test('the chart resize listener is added once per page and resizes every chart', async () => {
  const { context, page } = await openPage('/components.html', { width: 1000, height: 700 });
  try {
    for (const name of ['echarts', 'echartsSecond', 'echartsAgain']) assert.equal(await run(page, name), '"OK:ECharts"');
    assert.equal(await page.evaluate(() => window.__chartResizeListeners), 1);
    const widths = () => page.evaluate(() => ['chart_2', 'chart-b'].map((id) => window.tamrelDesk.charts[id].getWidth()));
    assert.deepEqual(await widths(), [500, 300]);
    await page.setViewportSize({ width: 800, height: 700 });
    await page.waitForFunction(() => window.tamrelDesk.charts.chart_2.getWidth() === 400);
    assert.deepEqual(await widths(), [400, 240]);

    // A new page has a new namespace object: its first chart adds the listener again.
    await page.goto(ORIGIN + '/components.html?again');
    assert.equal(await page.evaluate(() => [window.__chartResizeListeners, window.tamrelDesk.resizeBound]).then(String), '0,');
    assert.equal(await run(page, 'echartsSecond'), '"OK:ECharts"');
    assert.equal(await page.evaluate(() => window.__chartResizeListeners), 1);
    await page.setViewportSize({ width: 1000, height: 700 });
    await page.waitForFunction(() => window.tamrelDesk.charts['chart-b'].getWidth() === 300);
  } finally {
    await context.close();
  }
});

test('a configuration with a syntax error builds nothing and stays in the page', async () => {
  const { context, page, pageErrors } = await openPage();
  try {
    for (const name of ['tabulatorBroken', 'quillBroken', 'echartsBroken']) {
      const result = await executeScript(page, scripts[name]);
      assert.equal(result.json, null, name);
      assert.equal(result.exception.exception.className, 'SyntaxError', name);
    }
    const untouched = await page.evaluate(() => ({
      keys: Object.keys(window.tamrelDesk).sort().join(),
      empty: ['grid-1', 'ns:editor', 'chart_2'].every((id) => document.getElementById(id).childElementCount === 0),
    }));
    assert.deepEqual(untouched, { keys: 'onMessage,postMessage,version', empty: true });

    // A broken second run leaves the working grid as it was; the page goes on working.
    assert.equal(await run(page, 'tabulator'), '"OK:Tabulator"');
    await page.evaluate(() => { window.firstGrid = window.tamrelDesk.tables['grid-1']; });
    assert.equal(await run(page, 'tabulatorBroken'), null);
    await page.waitForFunction(() => document.querySelectorAll('#grid-1 .tabulator-row').length === 3);
    assert.equal(await page.evaluate(() => window.firstGrid === window.tamrelDesk.tables['grid-1']), true);
    assert.deepEqual(pageErrors, []);
    assert.deepEqual(consoleMessages(await posted(page)).filter((m) => m.level === 'uncaught'), []);
  } finally {
    await context.close();
  }
});
