// play_scenario.js -- one scenario of tests/workflow/scenarios.txt on the page, in headless Chromium
//
// node play_scenario.js SITE FOLDER STEPS DOWNLOADS SCREENSHOT opens SITE, gives the page FOLDER's
// files at its first file choice, meets each dialog in the order STEPS says and answers it from the
// keyboard, reads the clipboard back, and lets downloads land in DOWNLOADS. It exits 1 with the
// first thing that did not come as written, after taking a SCREENSHOT of the page.
'use strict';
const fs = require('fs'), path = require('path');
const { open_site } = require('../../tools/web-page.js');

const [site, folder, steps_file, downloads, screenshot] = process.argv.slice(2);
const steps = fs.readFileSync(steps_file, 'utf8').split('\n').filter(Boolean).map(line => line.split('\t'));
const dialog_of = { open: 'read', save: 'save', replace: 'replace', box: 'message' };

// What the page shows once it has shown more than `shown` dialogs, or has finished.
async function next_thing(page, shown) {
  await page.waitForFunction(n => window.shown > n || document.body.dataset.state === 'finished', {}, shown);
  return page.evaluate(() => {
    const open = document.querySelector('dialog[open]');
    const field = open && open.querySelector('#save-name, #read-files');
    const text = open && open.querySelector('.text');
    return !open ? { id: 'finished' } : { id: open.id, title: open.querySelector('h2').textContent,
      text: text && text.textContent, field: field && (field.type === 'file' ? field.accept : field.value) };
  });
}

async function play(page) {
  let shown = 0, clipboard = null;
  for (const [kind, title, pattern, answer, text] of steps) {
    if (kind === 'clipboard') {
      clipboard = text;
      continue;
    }
    const seen = await next_thing(page, shown++);
    const held = clipboard && (await page.evaluate(() => navigator.clipboard.readText()));
    if (held !== clipboard)
      return `the clipboard holds "${held}", not ${clipboard}`;
    clipboard = null;
    const field = pattern ? pattern.slice(1) : undefined; // the accept list, or the name's extension
    if (seen.id !== dialog_of[kind] || seen.title !== (title || 'Save patched file') ||
        (field !== undefined && seen.field !== field) ||
        (kind === 'box' && seen.text !== text.replace(/\\n/g, '\n')))
      return `expected ${kind} "${title}", the page showed ${JSON.stringify(seen)}`;
    const files = fs.readdirSync(folder), first = !(await page.$('#read-list input'));
    if (answer === '-') {
      await page.keyboard.press('Escape');
      continue;
    } else if (kind === 'open' && first) {
      await (await page.$('#read-files')).uploadFile(...files.map(name => path.join(folder, name)));
      if (files.length === 1)
        continue; // one file chosen is the answer itself
    }
    if (kind === 'open') {
      await page.waitForSelector('#read-list input');
      const choices = await page.$$('#read-list input');
      for (const choice of choices)
        await choice.evaluate((radio, name) => radio.value === name && radio.focus(), answer);
      await page.keyboard.press('Space');
    } else if (kind === 'save') {
      await page.evaluate(() => document.activeElement.select()); // the name field has the focus
      await page.keyboard.type(answer);
    } else if (answer === 'yes') { // from the default button, which keeps the old file, to "Replace"
      await page.keyboard.down('Shift');
      await page.keyboard.press('Tab');
      await page.keyboard.up('Shift');
    }
    await page.keyboard.press('Enter');
  }
  const end = await next_thing(page, shown);
  return end.id === 'finished' ? '' : `the page showed ${JSON.stringify(end)} after the last step`;
}

open_site(site, downloads).then(async site_page => {
  const page = site_page.page;
  const failed = new Promise(resolve => page.on('pageerror', error => resolve(`the page failed: ${error}`)));
  const problem = await Promise.race([play(page).catch(error => `${error}`), failed]);
  if (!problem && (await page.$eval('#download', link => !link.hidden))) // the page offered a file
    await site_page.downloaded(1);
  if (problem) {
    await page.screenshot({ path: screenshot });
    console.error(problem);
  }
  await site_page.close();
  process.exit(problem ? 1 : 0);
});
