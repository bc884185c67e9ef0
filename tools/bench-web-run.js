// bench-web-run.js -- node bench-web-run.js SITE FOLDER RUNS: the page's own work on FOLDER's
// image.bin and patch.ips, beside a plain IPS page and the reading of the two files alone
//
// Each run is a fresh headless Chromium. The clock starts when the files are given (the change
// event of the file input) and stops when the result is handed to the download (the link's
// click). Every dialog the page shows is timed from showModal to its close event, which is the
// driver's time to answer (puppeteer's round trips); those intervals are taken off, and what is
// left is the page's own work: reading, identifying, checksums, patching, saving, the download's
// Blob. The plain page, written here for the benchmark, reads both files whole, copies the image,
// applies the records in plain JavaScript and hands a Blob to a download, with no dialog. The read
// floor reads the two files into ArrayBuffers and does nothing else. Prints the median and the
// fastest of each.
'use strict';
const fs = require('fs'), os = require('os'), path = require('path');
const { open_site } = require('./web-page.js');
const [site, folder, runs] = process.argv.slice(2);
const files = [path.join(folder, 'image.bin'), path.join(folder, 'patch.ips')];

function mark_times() {
  window.times = { waited: 0 };
  addEventListener('change', () => (times.given = times.given || performance.now()), true);
  const click = HTMLAnchorElement.prototype.click, show_modal = HTMLDialogElement.prototype.showModal;
  HTMLAnchorElement.prototype.click = function () {
    times.ready = performance.now();
    click.call(this);
  };
  HTMLDialogElement.prototype.showModal = function () {
    const shown = performance.now();
    this.addEventListener('close', () => (times.waited += performance.now() - shown), { once: true });
    show_modal.call(this);
  };
}

const plain_page = `<!doctype html><title>plain</title><input type=file multiple id=f><a id=a download=out.bin></a>
<script>
f.onchange = async () => {
  const [image, patch] = await Promise.all([...f.files].map(file => file.arrayBuffer()));
  const out = new Uint8Array(image.byteLength);
  out.set(new Uint8Array(image));
  const p = new Uint8Array(patch);
  for (let at = 5; ; ) {
    const offset = (p[at] << 16) | (p[at + 1] << 8) | p[at + 2];
    if (offset === 0x454f46) break; // EOF
    let size = (p[at + 3] << 8) | p[at + 4];
    at += 5;
    if (size === 0) { // a run of one byte
      out.fill(p[at + 2], offset, offset + ((p[at] << 8) | p[at + 1]));
      at += 3;
    } else {
      out.set(p.subarray(at, at + size), offset);
      at += size;
    }
  }
  a.href = URL.createObjectURL(new Blob([out]));
  a.click();
};
</script>`;
const floor_page = `<!doctype html><title>floor</title><input type=file multiple id=f><script>
f.onchange = async () => { await Promise.all([...f.files].map(file => file.arrayBuffer())); times.ready = performance.now(); };
</script>`;

// One run of the page (kind 'page') or of the plain or floor page: its time in ms, answers taken off.
async function one_run(kind) {
  const downloads = fs.mkdtempSync(path.join(os.tmpdir(), 'patcher-bench-'));
  let served = site;
  if (kind !== 'page') {
    served = fs.mkdtempSync(path.join(os.tmpdir(), 'patcher-plain-'));
    fs.writeFileSync(path.join(served, 'index.html'), kind === 'plain' ? plain_page : floor_page);
  }
  const site_page = await open_site(served, downloads, { prepare: page => page.evaluateOnNewDocument(mark_times) });
  const page = site_page.page;
  if (kind === 'page') {
    await page.waitForFunction(() => document.body.dataset.state === 'landing');
    await (await page.$('#landing-files')).uploadFile(...files);
    for (let shown = 0; ; shown++) {
      await page.waitForFunction(n => window.shown > n || document.body.dataset.state === 'finished', {}, shown);
      const open = await page.evaluate(() => (document.querySelector('dialog[open]') || {}).id);
      if (!open)
        break;
      if (open === 'save')
        await page.keyboard.type('out');
      await page.keyboard.press('Enter'); // the image, the boxes, the patch and the name are the defaults
    }
  } else {
    await (await page.$('#f')).uploadFile(...files);
    await page.waitForFunction(() => window.times.ready);
  }
  if (kind !== 'floor')
    await site_page.downloaded(1);
  const times = await page.evaluate(() => window.times);
  await site_page.close();
  const saved = kind === 'floor' ? 16 << 20 : fs.statSync(path.join(downloads, 'out.bin')).size;
  fs.rmSync(downloads, { recursive: true });
  if (served !== site)
    fs.rmSync(served, { recursive: true });
  if (saved !== 16 << 20)
    throw new Error(`the run saved ${saved} bytes`);
  return [times.ready - times.given - times.waited, times.waited];
}

(async () => {
  const all = { page: [], plain: [], floor: [] };
  for (let run = 0; run < Number(runs); run++)
    for (const kind of Object.keys(all)) // interleaved, so that the machine's mood is shared
      all[kind].push(await one_run(kind));
  const median = runs => runs.sort((a, b) => a[0] - b[0])[runs.length >> 1][0];
  for (const [kind, label] of [['page', 'the page\'s own work'], ['plain', 'the plain IPS page'], ['floor', 'reading the two files']])
    console.log(`${label}: median ${median(all[kind]).toFixed(0)} ms, fastest ${all[kind][0][0].toFixed(0)} ms`);
  console.log(`the dialogs waited for the driver's answers ${all.page.map(run => run[1].toFixed(0)).join(', ')} ms`);
  const page = median(all.page), plain = median(all.plain), floor = median(all.floor);
  console.log(`page / plain: ${(page / plain).toFixed(2)}; page beyond the read: ${(page - floor).toFixed(0)} ms`);
})();
