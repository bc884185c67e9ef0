// play_scenario.js -- one scenario of tests/workflow/scenarios.txt on the page, in headless Chromium
// or Firefox ESR
//
// node play_scenario.js SITE FOLDER STEPS DOWNLOADS SCREENSHOT ENGINE opens SITE, gives the page
// FOLDER's files on its landing, meets each dialog in the order STEPS says and answers it from the
// keyboard, reads the clipboard back, and lets saved files land in DOWNLOADS. Chromium saves through
// a stand-in for the browser's save picker, which treats FOLDER as the device's disk and asks about
// replacing a file there as the real one does; Firefox, which has no picker, downloads, and a
// download replaces nothing, so no replace question comes. Every request must stay on the site. It
// exits 1 with the first thing that did not come as written, after taking a SCREENSHOT of the page.
'use strict';
const fs = require('fs'), path = require('path');
const { open_site } = require('../../tools/web-page.js');

const [site, folder, steps_file, downloads, screenshot, engine = 'chromium'] = process.argv.slice(2);
const steps = fs.readFileSync(steps_file, 'utf8').split('\n').filter(Boolean).map(line => line.split('\t'));
const dialog_of = { open: 'read', save: 'save', replace: 'replace', box: 'message' };

// The browser's save picker as the page meets it: a promise that the player settles with a name,
// a cancel, or an answer to its own replace question.
function picker_stand_in() {
  window.showSaveFilePicker = options => new Promise((resolve, reject) => {
    const extension = Object.values(options.types[0].accept)[0][0];
    const settle = name => {
      window.picker = null;
      const parts = [];
      resolve({ name, createWritable: async () => ({
        write: async bytes => new Uint8Array(bytes).forEach(byte => parts.push(byte)),
        close: () => window.disk_write(name, parts) }) });
    };
    window.picker = { options, replacing: null,
      async name(name) {
        if (name === null)
          return (window.picker = null), reject(new DOMException('The user aborted a request.', 'AbortError'));
        name = name.includes('.') ? name : name + extension; // as the picker completes a name
        if (await window.disk_has(name))
          return (this.replacing = name), window.shown++;
        settle(name);
      },
      replace(yes) {
        if (yes)
          return settle(this.replacing);
        this.replacing = null;
        window.shown++; // the picker again, as after a declined replace
      } };
    window.shown++;
  });
}

// Presses Enter or the space bar. Firefox under WebDriver BiDi activates nothing from either, so
// there the player clicks what the key would have: the focused button, else the dialog's default.
async function press(page, key) {
  if (engine !== 'firefox')
    return page.keyboard.press(key);
  await (await page.evaluateHandle(key => {
    const focused = document.activeElement;
    return key === ' ' || focused.tagName === 'BUTTON' ? focused : document.querySelector('dialog[open] .default');
  }, key)).click();
}

// What the page shows once it has shown more than `shown` dialogs, or has finished.
async function next_thing(page, shown) {
  await page.waitForFunction(n => window.shown > n || document.body.dataset.state === 'finished', {}, shown);
  return page.evaluate(() => {
    if (window.picker)
      return { id: window.picker.replacing ? 'replace' : 'save', field: window.picker.options.suggestedName, picker: true };
    const open = document.querySelector('dialog[open]');
    const field = open && open.querySelector('#save-name, #read-files');
    const text = open && open.querySelector('.text');
    return !open ? { id: 'finished' } : { id: open.id, title: open.querySelector('h2').textContent,
      text: text && text.textContent, field: field && (field.type === 'file' ? field.accept : field.value),
      selected: field && field.type !== 'file' && field.selectionEnd - field.selectionStart };
  });
}

async function play(page) {
  let shown = 0, clipboard = null, image = '';
  for (const [kind, title, pattern, answer, text] of steps) {
    if (kind === 'clipboard') {
      clipboard = text;
      continue;
    } else if (kind === 'replace' && engine === 'firefox') {
      continue; // a download replaces no file: the page asks nothing
    }
    const files = fs.readdirSync(folder);
    if (!image) { // the first choice is the landing's drop zone, which asks nothing until files come
      image = answer;
      await page.waitForFunction(() => document.body.dataset.state === 'landing');
      const landing = await page.$eval('#landing-title', heading => heading.textContent);
      if (landing !== title)
        return `expected the landing for "${title}", it says "${landing}"`;
      if (answer === '-')
        break; // the user leaves the page without giving a file
      await (await page.$('#landing-files')).uploadFile(...files.map(name => path.join(folder, name)));
      if (files.length === 1)
        continue; // one file given is the answer itself
    }
    const seen = await next_thing(page, shown);
    shown = await page.evaluate(() => window.shown);
    const held = clipboard && (await page.evaluate(() => navigator.clipboard.readText()));
    if (held !== clipboard)
      return `the clipboard holds "${held}", not ${clipboard}`;
    clipboard = null;
    // The accept list; for a save, the name suggested from the image's, with the pattern's extension.
    const field = kind === 'save' ? `${image.replace(/\.[^.]*$/, '')} (patched)${pattern.slice(1)}` :
                  pattern ? pattern.split(';').map(each => each.slice(1)).join(',') : undefined;
    if (seen.id !== dialog_of[kind] || (!seen.picker && seen.title !== title) ||
        (field !== undefined && seen.field !== field) || (kind === 'save' && !seen.picker && seen.selected !== field.length) ||
        (kind === 'box' && seen.text !== text.replace(/\\n/g, '\n')))
      return `expected ${kind} "${title}" (${field}), the page showed ${JSON.stringify(seen)}`;
    if (seen.picker) {
      await page.evaluate((kind, answer) => (kind === 'save' ? picker.name(answer === '-' ? null : answer) : picker.replace(answer === 'yes')),
                          kind, answer);
      continue;
    } else if (answer === '-') {
      await page.keyboard.press('Escape');
      continue;
    } else if (kind === 'open') {
      await page.waitForSelector('#read-list input');
      const choices = await page.$$('#read-list input');
      for (const choice of choices)
        await choice.evaluate((radio, name) => radio.value === name && radio.focus(), answer);
      await press(page, ' ');
    } else if (kind === 'save') {
      await page.keyboard.type(answer); // over the suggestion, which is selected
    }
    await press(page, 'Enter');
  }
  const end = image && image !== '-' ? await next_thing(page, shown) : { id: 'finished' };
  return end.id !== 'finished' ? `the page showed ${JSON.stringify(end)} after the last step` : '';
}

open_site(site, downloads, { engine, prepare: async page => {
  if (engine !== 'chromium')
    return;
  await page.exposeFunction('disk_has', name => fs.existsSync(path.join(folder, name)));
  await page.exposeFunction('disk_write', (name, bytes) => fs.writeFileSync(path.join(downloads, name), Buffer.from(bytes)));
  await page.evaluateOnNewDocument(picker_stand_in);
} }).then(async site_page => {
  const page = site_page.page, outside = site_page.outside;
  const failed = new Promise(resolve => page.on('pageerror', error => resolve(`the page failed: ${error}`)));
  let problem = await Promise.race([play(page).catch(error => `${error}`), failed]);
  if (!problem && (await page.$eval('#download', link => !link.hidden)) && engine !== 'chromium')
    await site_page.downloaded(1);
  problem = problem || (outside.length > 0 ? `the page asked for ${outside.join(', ')}` : '');
  if (problem) {
    await page.screenshot({ path: screenshot });
    console.error(problem);
  }
  await site_page.close();
  process.exit(problem ? 1 : 0);
});
