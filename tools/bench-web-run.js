// bench-web-run.js -- node bench-web-run.js SITE FOLDER RUNS: RUNS whole runs of the page on
// FOLDER's image.bin and patch.ips, each in a fresh browser, every dialog answered as soon as it
// shows; prints the fastest and the median time from the files chosen to the patched file ready
// for download, with and without the driver's time to answer.
'use strict';
const fs = require('fs'), os = require('os'), path = require('path');
const { open_site } = require('./web-page.js');
const [site, folder, runs] = process.argv.slice(2);

// Marks on the page: when the files were chosen, when they were listed to choose from (the first
// choice given the focus), when the download was started, and how long the dialogs waited for their
// answers from then on.
function mark_times() {
  window.times = { waited: 0 };
  addEventListener('change', () => (times.chosen = times.chosen || performance.now()), true);
  addEventListener('focusin', event => (times.listed = times.listed || (event.target.type === 'radio' && performance.now())));
  const click = HTMLAnchorElement.prototype.click, show_modal = HTMLDialogElement.prototype.showModal;
  HTMLAnchorElement.prototype.click = function () {
    times.ready = performance.now();
    click.call(this);
  };
  HTMLDialogElement.prototype.showModal = function () {
    const shown = performance.now();
    this.addEventListener('close', () => (times.waited += performance.now() - Math.max(shown, times.listed)), { once: true });
    show_modal.call(this);
  };
}

async function one_run() {
  const downloads = fs.mkdtempSync(path.join(os.tmpdir(), 'patcher-bench-'));
  const site_page = await open_site(site, downloads, { prepare: page => page.evaluateOnNewDocument(mark_times) });
  const page = site_page.page;
  for (let shown = 0; ; shown++) {
    await page.waitForFunction(n => window.shown > n || document.body.dataset.state === 'finished', {}, shown);
    const open = await page.evaluate(() => (document.querySelector('dialog[open]') || {}).id);
    if (!open)
      break;
    if (shown === 0) {
      await (await page.$('#read-files')).uploadFile(path.join(folder, 'image.bin'), path.join(folder, 'patch.ips'));
      await page.waitForSelector('#read-list input:checked');
    }
    if (open === 'save')
      await page.keyboard.type('out');
    await page.keyboard.press('Enter'); // the image, the boxes, the patch and the name are the defaults
  }
  await site_page.downloaded(1);
  const times = await page.evaluate(() => window.times);
  await site_page.close();
  const saved = fs.statSync(path.join(downloads, 'out.bin')).size;
  fs.rmSync(downloads, { recursive: true });
  if (saved !== 16 << 20)
    throw new Error(`the run saved ${saved} bytes`);
  return [times.ready - times.chosen, times.ready - times.chosen - times.waited];
}

(async () => {
  const all = [];
  for (let run = 0; run < Number(runs); run++)
    all.push(await one_run());
  for (const [which, label] of [[0, 'chosen to download ready'], [1, 'the same less the answers\' time']]) {
    const times = all.map(t => t[which]).sort((a, b) => a - b);
    console.log(`${label}: fastest ${times[0].toFixed(0)} ms, median ${times[times.length >> 1].toFixed(0)} ms`);
  }
})();
