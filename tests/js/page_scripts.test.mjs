// The bridge and console-capture scripts, as the engine runs them in every document.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { dumpScripts, launchBrowser, newContext, posted, consoleMessages, ORIGIN, CONSOLE_PREFIX } from './harness.mjs';

let texts;
let browser;

const PAGE = `<!doctype html><html><head><title>page</title>
<script>window.seenAtParse = { bridge: typeof window.tamrelDesk, capture: window.__tamrelDebugInstalled };
console.log("from the page's own script");</script></head><body><p>page</p></body></html>`;

before(async () => {
  texts = dumpScripts();
  browser = await launchBrowser();
});
after(async () => { await browser?.close(); });

async function openPage({ files = {}, pre = '', path = '/page.html' } = {}) {
  const context = await newContext(browser, texts.initScript, { files: { '/page.html': PAGE, ...files }, pre });
  const page = await context.newPage();
  const real = [];  // what reached the page's real console
  page.on('console', (m) => real.push({ type: m.type(), text: m.text() }));
  await page.goto(ORIGIN + path);
  return { context, page, real };
}

test('the init script is the stored text split into lines, each ended by CR LF', () => {
  assert.equal(texts.stored, texts.bridge + '\n\r' + texts.consoleCapture);
  assert.equal(texts.initScript, texts.bridge + '\r\n\r\n' + texts.consoleCapture + '\r\n');
});

test('both scripts run before the page and once per document', async () => {
  const { context, page } = await openPage();
  try {
    assert.deepEqual(await page.evaluate(() => window.seenAtParse), { bridge: 'object', capture: true });
    const first = await page.evaluate(() => {
      window.firstBridge = window.tamrelDesk;
      window.firstLog = console.log;
      return { version: window.tamrelDesk.version, ready: window.__host.ready };
    });
    assert.deepEqual(first, { version: '1.0', ready: 1 });
    assert.equal(consoleMessages(await posted(page)).map((m) => m.message).join('|'), "from the page's own script");

    // The stored text and the init script run again: both guards stop them.
    for (const text of [texts.stored, texts.initScript]) await page.evaluate((t) => (0, eval)(t), text);
    const again = await page.evaluate(() => {
      const received = [];
      window.tamrelDesk.onMessage((d) => received.push(d));
      window.__host.posted.length = 0;
      window.__host.post('once');
      console.log('counted once');
      return { same: window.tamrelDesk === window.firstBridge, sameLog: console.log === window.firstLog,
               ready: window.__host.ready, received, posts: window.__host.posted.length };
    });
    assert.deepEqual(again, { same: true, sameLog: true, ready: 1, received: ['once'], posts: 1 });

    // A new document gets a new bridge and one more "tamrelDeskReady".
    await page.goto(ORIGIN + '/page.html?second');
    assert.deepEqual(await page.evaluate(() => ({ ready: window.__host.ready, fresh: window.firstBridge === undefined,
                                                   version: window.tamrelDesk.version })),
                     { ready: 1, fresh: true, version: '1.0' });
  } finally {
    await context.close();
  }
});

test('postMessage sends strings unchanged and other values as JSON', async () => {
  const { context, page } = await openPage();
  try {
    const cases = [
      ['hello', 'hello'], ['{"a":1}', '{"a":1}'], ['"quoted"', '"quoted"'], ['', ''], ['Zo\u00eb \u{1F600}', 'Zo\u00eb \u{1F600}'],
      [42, '42'], [-0.5, '-0.5'], [true, 'true'], [null, 'null'],
      [{ a: 1, b: [true, null], c: 'x' }, '{"a":1,"b":[true,null],"c":"x"}'], [[1, 'two', { three: 3 }], '[1,"two",{"three":3}]'],
    ];
    const sent = await page.evaluate((values) => {
      window.__host.posted.length = 0;
      values.forEach((v) => window.tamrelDesk.postMessage(v));
      return window.__host.posted.slice();
    }, cases.map((c) => c[0]));
    assert.deepEqual(sent, cases.map((c) => c[1]));
    for (const s of sent) assert.equal(typeof s, 'string');

    const cyclic = await page.evaluate(() => {
      window.__host.posted.length = 0;
      const o = { name: 'loop' };
      o.self = o;
      try { window.tamrelDesk.postMessage(o); return 'no exception'; } catch (e) {
        return { name: e.name, posted: window.__host.posted.length };
      }
    });
    assert.deepEqual(cyclic, { name: 'TypeError', posted: 0 });
  } finally {
    await context.close();
  }
});

test('message handlers run in order; a throwing one is logged and stops nothing', async () => {
  const { context, page, real } = await openPage();
  try {
    const result = await page.evaluate(() => {
      const order = [];
      window.tamrelDesk.onMessage((d) => order.push('first:' + d));
      window.tamrelDesk.onMessage(() => { throw new Error('handler failed'); });
      window.tamrelDesk.onMessage('not a function');
      window.tamrelDesk.onMessage({ handleEvent() { order.push('object'); } });
      window.tamrelDesk.onMessage((d) => order.push('third:' + d));
      window.addEventListener('tamrelDeskMessage', (e) => order.push('event:' + e.detail));
      window.__host.posted.length = 0;
      window.__host.post('ping');
      window.__host.post('{"n":2}');
      return { order, posted: window.__host.posted.slice() };
    });
    assert.deepEqual(result.order, ['first:ping', 'third:ping', 'event:ping',
                                    'first:{"n":2}', 'third:{"n":2}', 'event:{"n":2}']);
    const logged = consoleMessages(result.posted);
    assert.deepEqual(logged.map((m) => [m.level, m.message]), [['error', '{}'], ['error', '{}']]);
    assert.ok(real.some((m) => m.type === 'error' && m.text.includes('handler failed')), 'the real console got the error too');
  } finally {
    await context.close();
  }
});

test('each console level is posted with its level and still reaches the console', async () => {
  const { context, page, real } = await openPage();
  try {
    const start = Date.now();
    const sent = await page.evaluate(() => {
      window.__host.posted.length = 0;
      ['log', 'info', 'warn', 'error', 'debug'].forEach((level) => console[level]('text of ' + level));
      return window.__host.posted.slice();
    });
    const messages = consoleMessages(sent);
    assert.equal(messages.length, 5);
    assert.deepEqual(messages.map((m) => [m.level, m.message]),
                     ['log', 'info', 'warn', 'error', 'debug'].map((l) => [l, 'text of ' + l]));
    for (const m of messages) {
      assert.deepEqual(Object.keys(JSON.parse(m.raw)), ['level', 'message', 'time', 'url']);
      assert.equal(new Date(m.time).toISOString(), m.time);
      assert.ok(Date.parse(m.time) >= start - 1000 && Date.parse(m.time) <= Date.now() + 1000);
      assert.equal(m.url, ORIGIN + '/page.html');
    }
    assert.equal(sent[0], CONSOLE_PREFIX + messages[0].raw);
    const realTypes = { log: 'log', info: 'info', warn: 'warning', error: 'error', debug: 'debug' };
    for (const [level, type] of Object.entries(realTypes)) {
      assert.ok(real.some((m) => m.type === type && m.text === 'text of ' + level), `${level} reached the console`);
    }
  } finally {
    await context.close();
  }
});

test('console arguments become texts joined by single spaces', async () => {
  const { context, page } = await openPage();
  try {
    const cases = await page.evaluate(() => {
      const cyclic = {};
      cyclic.self = cyclic;
      const calls = [
        ['a', 1, { b: 2 }],
        ['before', undefined, function named() {}, 'after'],
        [new Error('lost'), null, [1, 'x'], '"quoted" \\ text'],
        [cyclic, 5n, Symbol('s')],
        [],
      ];
      window.__host.posted.length = 0;
      calls.forEach((args) => console.log(...args));
      return window.__host.posted.slice();
    });
    assert.deepEqual(consoleMessages(cases).map((m) => m.message), [
      'a 1 {"b":2}',
      'before   after',
      '{} null [1,"x"] "quoted" \\ text',
      '[object Object] 5 ',   // a Symbol has no JSON text; String(symbol) is never reached
      '',
    ]);
  } finally {
    await context.close();
  }
});

test('a console method missing before the capture is still captured', async () => {
  const pre = 'delete console.debug; console.info = undefined;';
  const { context, page, real } = await openPage({ pre });
  try {
    const out = await page.evaluate(() => {
      window.__host.posted.length = 0;
      let escaped = null;
      try { console.debug('quiet debug'); console.info('quiet info'); console.log('loud'); } catch (e) { escaped = String(e); }
      return { escaped, posted: window.__host.posted.slice() };
    });
    assert.equal(out.escaped, null);
    assert.deepEqual(consoleMessages(out.posted).map((m) => [m.level, m.message]),
                     [['debug', 'quiet debug'], ['info', 'quiet info'], ['log', 'loud']]);
    assert.ok(real.some((m) => m.text === 'loud'));
    assert.ok(!real.some((m) => m.text.startsWith('quiet')), 'the missing methods are not called');
  } finally {
    await context.close();
  }
});

test('uncaught errors are posted with file and line', async () => {
  const files = {
    '/errors.html': '<!doctype html><script src="/boom.js"></script><p>after</p>\n<script>\nwindow.after = true;\nnull.property;\n</script>',
    '/boom.js': '// line 1\n\nthrow new Error("boom");\n',
  };
  const { context, page } = await openPage({ files, path: '/errors.html' });
  try {
    await page.evaluate(() => new Promise((r) => { setTimeout(() => { throw new RangeError('later'); }); setTimeout(r, 50); }));
    const messages = consoleMessages(await posted(page)).filter((m) => m.level === 'uncaught');
    assert.equal(messages.length, 3);
    assert.equal(messages[0].message, `Uncaught Error: boom (${ORIGIN}/boom.js:3)`);
    assert.match(messages[1].message, new RegExp(`^Uncaught TypeError: .*property.* \\(${ORIGIN}/errors\\.html:4\\)$`));
    assert.match(messages[2].message, /^Uncaught RangeError: later \(.*:\d+\)$/);
    for (const m of messages) assert.equal(m.url, ORIGIN + '/errors.html');
    assert.equal(await page.evaluate(() => window.after), true);
  } finally {
    await context.close();
  }
});

test('unhandled rejections are posted with their reason as text', async () => {
  const { context, page } = await openPage();
  try {
    await page.evaluate(() => {
      window.__host.posted.length = 0;
      Promise.reject('plain reason');
      Promise.reject({ code: 7 });
      Promise.reject(new Error('gone'));
      Promise.reject(undefined);
      Promise.reject('handled later').catch(() => {});
    });
    await page.waitForFunction(() => window.__host.posted.length >= 4);
    await page.evaluate(() => new Promise((r) => setTimeout(r, 50)));
    const messages = consoleMessages(await posted(page));
    assert.deepEqual(messages.map((m) => [m.level, m.message]), [
      ['unhandledrejection', 'plain reason'],
      ['unhandledrejection', '{"code":7}'],
      ['unhandledrejection', '{}'],
      ['unhandledrejection', ''],
    ]);
  } finally {
    await context.close();
  }
});
