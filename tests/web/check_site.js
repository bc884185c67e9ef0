// check_site.js -- the page beyond the scenarios, in headless Chromium: node check_site.js SITE
//
// axe-core finds nothing in any state of a run (landing, file list, a long box, the save dialog,
// the end), light and dark, at a desktop's width and a phone's, and at a phone held sideways each
// dialog keeps its title and buttons in view; a clipboard that refuses is said inside the next
// dialog, with the text to copy there; a 4 GiB image is read only up to the capacity, after the
// warning; a slow read shows that it works and a failed one is named in a box; the page starts
// from a file:// address and again offline; a broken or missing program is named. Prints each
// failure and exits 1 if there was any.
'use strict';
const fs = require('fs'), os = require('os'), path = require('path');
const { execFileSync } = require('child_process');
const { open_site } = require('../../tools/web-page.js');
const axe = fs.readFileSync(require.resolve('axe-core/axe.min.js'), 'utf8');
const site = path.resolve(process.argv[2]);
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'patcher-site-'));
const failures = [];
const check = (ok, what) => ok || failures.push(what);

fs.writeFileSync(path.join(work, 'game.bin'), Buffer.alloc(256 << 10, 7)); // no catalogue row takes it
fs.writeFileSync(path.join(work, 'fix.ips'), Buffer.from('PATCH\x00\x00\x10\x00\x01\x99EOF', 'latin1'));

// Checks the page as it is now: axe's rules, and an open dialog's title and buttons in view.
async function inspect(page, where) {
  const found = await page.evaluate(`${axe}; axe.run({ resultTypes: ['violations'] }).then(r => r.violations.map(v => v.id + ': ' + v.nodes.map(n => n.target).join(' ')))`);
  check(found.length === 0, `${where}: axe finds ${found.join('; ')}`);
  const hidden = await page.evaluate(() => [...document.querySelectorAll('dialog[open] h2, dialog[open] .buttons')]
    .filter(part => part.getBoundingClientRect().top < 0 || part.getBoundingClientRect().bottom > innerHeight).length);
  check(hidden === 0, `${where}: a dialog's title or buttons are out of view`);
}

// One run through every state; refuse makes the clipboard refuse the text.
async function walk(width, height, scheme, refuse) {
  const where = `${width}x${height} ${scheme}`;
  const site_page = await open_site(site, work, { width, height, scheme, prepare: page => refuse &&
    page.evaluateOnNewDocument(() => (navigator.clipboard.writeText = () => Promise.reject(new Error('refused')))) });
  const page = site_page.page;
  await page.waitForFunction(() => document.body.dataset.state === 'landing');
  await inspect(page, `${where} landing`);
  await (await page.$('#landing-files')).uploadFile(path.join(work, 'game.bin'), path.join(work, 'fix.ips'));
  for (let shown = 1; ; shown++) {
    await page.waitForFunction(n => window.shown >= n || document.body.dataset.state === 'finished', {}, shown);
    await new Promise(resolve => setTimeout(resolve, 300)); // what is said inside the dialog comes after it
    const open = await page.evaluate(() => (document.querySelector('dialog[open]') || {}).id);
    await inspect(page, `${where} ${open || 'end'} ${shown}`);
    if (!open)
      break;
    if (refuse && shown === 3) { // the dialog after the first refused copy
      const inside = await page.evaluate(() => [!!document.querySelector('dialog[open] #clipboard-text'),
                                                 document.querySelector('dialog[open] .live').textContent]);
      check(inside[0] && /Error opening clipboard/.test(inside[1]), `${where}: the refused copy is not said in the dialog: ${inside}`);
    }
    if (open === 'save')
      await page.keyboard.type('out');
    await page.keyboard.press('Enter');
  }
  await site_page.close();
}

// Opens the site, answering a request for index.js with script when one is given; once it has come
// to a state, or after wait ms: that state, the status line, and whether the notice that it has not
// started shows.
async function start(options, wait) {
  const { page, close } = await open_site(site, work, { url: options.url, prepare: async page => {
    if (!options.script)
      return;
    await page.setRequestInterception(true);
    page.on('request', request => request.url().endsWith('/index.js') ? request.respond(options.script) : request.continue());
  } });
  await page.waitForFunction(() => document.body.dataset.state, { timeout: wait }).catch(() => {});
  const seen = await page.evaluate(notice => [document.body.dataset.state, document.querySelector('#status').textContent,
    notice.offsetHeight > 0 && getComputedStyle(notice).visibility === 'visible'], await page.$('#not-started'));
  await close();
  return seen;
}

(async () => {
  for (const [width, height] of [[1000, 800], [360, 740]])
    for (const scheme of ['light', 'dark'])
      await walk(width, height, scheme, scheme === 'dark');
  await walk(568, 320, 'light', false);

  // 4 GiB of nothing on disk (a sparse file): read only to the capacity, after the warning.
  const huge = path.join(work, 'huge.bin');
  execFileSync('truncate', ['-s', '4G', huge]);
  const site_page = await open_site(site, work), page = site_page.page;
  await page.waitForFunction(() => document.body.dataset.state === 'landing');
  await (await page.$('#landing-files')).uploadFile(huge);
  await page.waitForFunction(() => window.shown > 0);
  const seen = await page.evaluate(() => [document.querySelector('dialog[open] h2').textContent, FS.stat('/files/huge.bin').size]);
  check(seen[0] === 'Warning' && seen[1] === 0x1000200 + 1, `a 4 GiB image: ${seen}`);
  // Offline: once the service worker holds the site, a reload without a network starts the page.
  await page.evaluate(() => navigator.serviceWorker.ready);
  await page.setOfflineMode(true);
  await page.reload();
  const offline = page.waitForFunction(() => document.body.dataset.state === 'landing', { timeout: 10000 });
  check(await offline.then(() => true, () => false), 'a reload offline does not start the page');
  await site_page.close();
  fs.rmSync(huge);

  // A read of fix.ips that takes two seconds, then fails as a file gone from the disk does.
  const slow = await open_site(site, work, { prepare: page => page.evaluateOnNewDocument(() => {
    const slice = Blob.prototype.slice;
    File.prototype.slice = function (...range) {
      const part = slice.apply(this, range);
      if (this.name === 'fix.ips')
        part.arrayBuffer = () => new Promise((_, reject) => setTimeout(() => reject(new DOMException('It is gone.', 'NotReadableError')), 2000));
      return part;
    };
  }) });
  await slow.page.waitForFunction(() => document.body.dataset.state === 'landing');
  await (await slow.page.$('#landing-files')).uploadFile(path.join(work, 'game.bin'), path.join(work, 'fix.ips'));
  const working = await slow.page.waitForFunction(() => /^Reading game.bin, fix.ips/.test(document.querySelector('#status').textContent))
    .then(() => true, () => false);
  await slow.page.waitForFunction(() => window.shown > 0);
  const box = await slow.page.$eval('dialog[open]', open => open.textContent);
  check(working && /Error[^]*fix.ips: It is gone/.test(box), `a slow, failed read: ${working}, "${box}"`);
  await slow.close();
  check((await start({ url: `file://${site}/index.html` }, 10000))[0] === 'landing', 'opened as a file, the page does not start');
  const program = fs.readFileSync(path.join(site, 'index.js'), 'utf8').replace(/AGFzbQ[A-Za-z0-9+/]{40}/, 'A'.repeat(46));
  const broken = await start({ script: { contentType: 'text/javascript', body: program } }, 3000);
  check(/could not be started/.test(broken[1]), `a broken program: "${broken[1]}"`);
  check((await start({ script: { status: 404, body: '' } }, 6000))[2], 'a missing index.js is not named');

  fs.rmSync(work, { recursive: true });
  console.error(failures.join('\n'));
  process.exit(failures.length ? 1 : 0);
})();
