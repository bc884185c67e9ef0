// web-page.js -- the built site open in Debian's headless Chromium, for the browser tests, the
// benchmark and the screenshots
//
// The site is served on the loopback address. Downloads land in a folder of the caller's, and the
// browser's own save dialog, which headless Chromium cannot show, is left out so that a saved file
// arrives as a download. Every dialog the page shows is counted in window.shown, so that a dialog
// shown again can be told from the one before. Needs puppeteer-core on NODE_PATH.
'use strict';
const fs = require('fs'), http = require('http'), path = require('path');
const puppeteer = require('puppeteer-core');

const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm' };

// Opens the site in a page (options: width, height, colour scheme, and prepare(page) to run before
// it loads); resolves with the page, a count of the downloads completed, a wait for them, and a
// close() that ends the browser and the server.
async function open_site(site, downloads, options = {}) {
  const { width = 1000, height = 800, scheme = 'light', prepare = async () => {} } = options;
  const server = http.createServer((request, response) => {
    const name = request.url === '/' ? 'index.html' : path.basename(request.url); // the site is flat
    const type = types[path.extname(name)];
    response.writeHead(type ? 200 : 404, { 'Content-Type': type || 'text/plain' });
    response.end(type ? fs.readFileSync(path.join(site, name)) : '');
  });
  await new Promise(resolve => server.listen(0, '127.0.0.1', resolve));
  const url = `http://127.0.0.1:${server.address().port}/`;
  const browser = await puppeteer.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox'] });
  const page = await browser.newPage();
  await page.setViewport({ width, height });
  await page.emulateMediaFeatures([{ name: 'prefers-color-scheme', value: scheme }]);
  await browser.defaultBrowserContext().overridePermissions(url, ['clipboard-read', 'clipboard-sanitized-write']);
  const session = await browser.target().createCDPSession();
  const site_page = { page, completed: 0, close: () => browser.close().then(() => server.close()) };
  // Waits until count downloads have completed, at most as long as puppeteer waits for anything.
  site_page.downloaded = async count => {
    for (let waited = 0; site_page.completed < count && waited < 30000; waited += 50)
      await new Promise(resolve => setTimeout(resolve, 50));
  };
  session.on('Browser.downloadProgress', event => (site_page.completed += event.state === 'completed'));
  await session.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads, eventsEnabled: true });
  await page.evaluateOnNewDocument(() => {
    window.showSaveFilePicker = undefined;
    const show_modal = HTMLDialogElement.prototype.showModal;
    window.shown = 0;
    HTMLDialogElement.prototype.showModal = function () {
      window.shown++;
      show_modal.call(this);
    };
  });
  await prepare(page);
  await page.goto(url);
  return site_page;
}

module.exports = { open_site };
