// web-page.js -- the built site open in Debian's headless Chromium or Firefox ESR, for the browser
// tests, the benchmark and the screenshots
//
// The site is served on the loopback address, and every request the page makes is recorded, so
// that a test can tell that none left it. Downloads land in a folder of the caller's. The browser's
// own save picker, which a headless browser cannot show, is left out, so that a saved file arrives
// as a download, unless the caller gives its own stand-in. Every dialog the page shows is counted
// in window.shown, so that a dialog shown again can be told from the one before. Needs
// puppeteer-core on NODE_PATH.
'use strict';
const fs = require('fs'), http = require('http'), path = require('path');
const puppeteer = require('puppeteer-core');

const types = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.svg': 'image/svg+xml',
                '.webmanifest': 'application/manifest+json' };

// Serves the flat folder site; resolves with the server, its address and the requests it answered.
async function serve(site) {
  const requests = [];
  const server = http.createServer((request, response) => {
    const name = request.url === '/' ? 'index.html' : path.basename(request.url.replace(/\?.*/, ''));
    const type = types[path.extname(name)], file = path.join(site, name);
    const found = type && fs.existsSync(file);
    requests.push(request.url);
    response.writeHead(found ? 200 : 404, { 'Content-Type': found ? type : 'text/plain' });
    response.end(found ? fs.readFileSync(file) : '');
  });
  await new Promise(resolve => server.listen(0, '127.0.0.1', resolve));
  return { server, requests, url: `http://127.0.0.1:${server.address().port}/` };
}

// Launches the browser ('chromium' or 'firefox') with downloads going into the folder downloads.
// A Chromium's downloads are counted as they complete; a Firefox's are whole once no .part is left.
async function launch(engine, downloads, scheme, counted) {
  if (engine === 'firefox')
    return puppeteer.launch({ browser: 'firefox', executablePath: '/usr/bin/firefox-esr', protocol: 'webDriverBiDi',
      extraPrefsFirefox: {
        'browser.download.dir': downloads, 'browser.download.folderList': 2, 'browser.download.useDownloadDir': true,
        'browser.download.always_ask_before_handling_new_types': false,
        'browser.helperApps.neverAsk.saveToDisk': 'application/octet-stream',
        'dom.events.testing.asyncClipboard': true, // the clipboard without a prompt, as granted
        'focusmanager.testmode': true,             // the page has the focus, as a window in front has
        'layout.css.prefers-color-scheme.content-override': scheme === 'dark' ? 0 : 1,
      } });
  const browser = await puppeteer.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox'] });
  const session = await browser.target().createCDPSession();
  session.on('Browser.downloadProgress', event => (counted.completed += event.state === 'completed'));
  await session.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads, eventsEnabled: true });
  return browser;
}

// Opens the site in a page (options: engine, width, height, colour scheme, url to open instead of
// the served site, and prepare(page) to run before it loads); resolves with the page, the requests
// served, those that went elsewhere, a wait for downloads and a close() that ends the browser and
// the server.
async function open_site(site, downloads, options = {}) {
  const { engine = 'chromium', width = 1000, height = 800, scheme = 'light', prepare = async () => {} } = options;
  const { server, requests, url } = await serve(site);
  const counted = { completed: 0 }, browser = await launch(engine, downloads, scheme, counted);
  const page = (await browser.pages())[0] || (await browser.newPage());
  await page.setViewport({ width, height });
  if (engine === 'chromium') {
    await page.emulateMediaFeatures([{ name: 'prefers-color-scheme', value: scheme }]);
    await browser.defaultBrowserContext().overridePermissions(url, ['clipboard-read', 'clipboard-sanitized-write']);
  }
  const site_page = { page, browser, url, requests, outside: [], close: () => browser.close().then(() => server.close()) };
  // Every request for anything but the site's own files, from the first.
  page.on('request', request => /^(data|blob):/.test(request.url()) || request.url().startsWith(url) ||
                                site_page.outside.push(request.url()));
  // Waits until count files have arrived whole in downloads, at most 30 s.
  site_page.downloaded = async count => {
    for (let waited = 0; waited < 30000; waited += 50) {
      const names = fs.readdirSync(downloads);
      if (engine === 'chromium' ? counted.completed >= count : names.length >= count && !names.some(name => name.endsWith('.part')))
        return;
      await new Promise(resolve => setTimeout(resolve, 50));
    }
  };
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
  await page.goto(options.url || url);
  return site_page;
}

module.exports = { open_site };
