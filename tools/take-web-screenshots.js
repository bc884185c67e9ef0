// take-web-screenshots.js -- photographs the browser edition's page for the README, at a desktop
// width and at a phone's 360 px, in the light and the dark scheme:
//
//   NODE_PATH=build/web-tests/tests/web/browser/node_modules node tools/take-web-screenshots.js build/web/site docs
//
// Gives the page the examples' cartridge and patch (examples/make-examples.sh) and photographs it
// at the files listed, at the "Unrecognized source file" box, and at the save dialog.
'use strict';
const { execFileSync } = require('child_process');
const fs = require('fs'), os = require('os'), path = require('path');
const { open_site } = require('./web-page.js');
const [site, shots] = process.argv.slice(2);
const examples = fs.mkdtempSync(path.join(os.tmpdir(), 'patcher-examples-'));
execFileSync('bash', [path.join(__dirname, '../examples/make-examples.sh'), examples]);

// The shot is taken at the dialog that shows after `answers` Enters, the files having been given.
const shots_taken = [['web-desktop.png', 1280, 800, 'light', 0], ['web-phone.png', 360, 740, 'light', 1],
                     ['web-phone-dark.png', 360, 740, 'dark', 4]];

(async () => {
  for (const [name, width, height, scheme, answers] of shots_taken) {
    const site_page = await open_site(site, examples, { width, height, scheme }), page = site_page.page;
    await page.waitForFunction(() => document.body.dataset.state === 'landing');
    const files = ['demo-cartridge.bin', 'demo-english.ips'].map(file => path.join(examples, file));
    await (await page.$('#landing-files')).uploadFile(...files);
    await page.waitForSelector('#read-list input:checked');
    for (let shown = 1; shown <= answers; shown++) {
      await page.keyboard.press('Enter'); // the cartridge, the box, the patch, the box: what the page offers first
      await page.waitForFunction(n => window.shown > n, {}, shown);
    }
    await page.screenshot({ path: path.join(shots, name) });
    await site_page.close();
  }
  fs.rmSync(examples, { recursive: true });
})();
