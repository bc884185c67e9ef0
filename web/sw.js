// sw.js -- keeps the site's files on the device, so that the page loads and runs without a network
//
// The cache's name carries the version and a digest of the site's files, which CMake writes in:
// a new site fills a cache of its own and the old one is dropped once it takes over, so a page is
// never served half old and half new.
'use strict';
const cache_name = 'patcher-@SITE_VERSION@';
const site_files = ['./', 'index.html', 'index.js', 'page.css', 'icon.svg', 'manifest.webmanifest'];

self.addEventListener('install', event => {
  event.waitUntil(caches.open(cache_name).then(cache => cache.addAll(site_files)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', event => {
  event.waitUntil(caches.keys()
    .then(names => Promise.all(names.filter(name => name !== cache_name).map(name => caches.delete(name))))
    .then(() => self.clients.claim()));
});

// The site's own files come from the cache; anything else is left to the browser.
self.addEventListener('fetch', event => {
  if (event.request.method !== 'GET' || new URL(event.request.url).origin !== location.origin)
    return;
  event.respondWith(caches.open(cache_name)
    .then(cache => cache.match(event.request, { ignoreSearch: true }))
    .then(cached => cached || fetch(event.request)));
});
