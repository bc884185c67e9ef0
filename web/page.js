// page.js -- the page's half of the browser back end: the dialogs, the working folder, the clipboard
//
// Emscripten puts this file in front of its own script (--pre-js), so Module.page is in place when
// platform/platform_web.cpp first calls it. Each dialog is a modal <dialog> of index.html, and each
// call resolves when the user closes it; the run is suspended meanwhile. The working folder is the
// current directory of the in-memory file system: every file the user chooses or drops is written
// there, and the core opens it by name as it opens a file beside the image on the desktop.

const working_folder = '/files';
const $ = id => document.getElementById(id);
let several_files = true; // the first choice takes the image and its patches at once
let reading = null;       // the open read dialog's pattern and capacity, for files dropped on it
let last_copied = '';     // shown for copying by hand when the clipboard refuses it

Module.preRun = [() => {
  FS.mkdir(working_folder);
  FS.chdir(working_folder);
}];
Module.onAbort = what => start_failed(what);
// The program's standard output carries one line only, written when the clipboard refused the
// text: the page shows it beside the text to copy by hand.
Module.print = line => Module.page.report(line);

function say(text) {
  $('status').textContent = text;
}

// The most the core reads of any file is the image's capacity, 16 MiB behind a 512-byte copier
// header; one byte more tells it that the file was longer, and it warns as on the desktop. Nothing
// past that is read, so a file of any size costs the same.
const read_limit = 0x1000200 + 1;
// An archive is read whole up to the core's archive buffer, which holds an image's capacity and
// 1 MiB more for the archive's own headers and the readmes and pictures beside a patch.
const archive_read_limit = 0x1100200 + 1;
const is_archive = name => /\.(zip|gz)$/i.test(name);
const patch_mark = 'PATCH'; // the first five bytes of every IPS patch
const given = {};           // each file given: its size on the device, and whether it is a patch
let image_name = '';        // the image's name, from which the saved file's name is suggested
let save_handle = null;     // the file the browser's save picker opened, written when the run ends
let announced = '';         // the status line last repeated inside a dialog

function start_failed(what) {
  document.body.dataset.state = 'failed';
  say(`The patcher's program (index.js) could not be started: ${what}. Reload the page; if this ` +
      'stays, the copy of the site is incomplete or damaged.');
}

// Shows the dialog; resolves with the value of the button that closed it, '' for Escape. A status
// line set since the last dialog, which the modal dialog would hide from a screen reader, is said
// again inside it, and so is a clipboard failure with its text to copy by hand.
function ask(dialog, shown = () => {}) {
  return new Promise(resolve => {
    const failure = $('clipboard-failure'), live = dialog.querySelector('.live');
    const show_failure = !failure.hidden && failure.dataset.shown !== $('clipboard-text').value;
    const news = [$('status').textContent !== announced && $('status').textContent,
                  show_failure && `${$('clipboard-line').textContent} The text to copy by hand is in this dialog.`];
    dialog.returnValue = '';
    dialog.addEventListener('close', () => {
      $('status').after(failure);
      resolve(dialog.returnValue);
    }, { once: true });
    if (show_failure) {
      failure.dataset.shown = $('clipboard-text').value;
      dialog.querySelector('.buttons').before(failure);
    }
    live.textContent = '';
    dialog.showModal();
    shown();
    // Set after the dialog is shown, so that the change is heard after the dialog's name.
    announced = $('status').textContent;
    if (news.some(Boolean))
      setTimeout(() => (live.textContent = news.filter(Boolean).join(' ')), 250);
  });
}

const utf8_length = text => new TextEncoder().encode(text).length;
// A dialog's pattern may hold several, separated by ';' ("*.ips;*.zip;*.gz").
const extensions = pattern => pattern.split(';').map(each => each.slice(1));
const matches = (name, pattern) => pattern === '*' || extensions(pattern).some(end => name.toLowerCase().endsWith(end));
const size_text = size => (size < 1 << 20 ? `${Math.ceil(size / 1024)} KiB` : `${(size / (1 << 20)).toFixed(1)} MiB`);

// The file offered first: the only one listed, or of several the first of the kind asked for,
// told by its start: an image before one is open, then a patch.
const offered = names => (names.length === 1 ? names[0] :
  names.find(name => given[name] && given[name].patch === (image_name !== '')));

// Lists the working folder's files that the pattern offers, as one choice with the one offered
// selected. With none listed yet, Open asks for a file first.
function list_files() {
  const list = $('read-list');
  list.querySelectorAll('label').forEach(label => label.remove());
  $('read-legend').textContent = `Files given so far (${reading.pattern})`;
  const names = FS.readdir('.').filter(name => FS.isFile(FS.stat(name).mode) && matches(name, reading.pattern));
  const chosen = offered(names.sort());
  for (const name of names) {
    const label = document.createElement('label'), radio = document.createElement('input');
    const checked = name === chosen;
    Object.assign(radio, { type: 'radio', name: 'file', value: name, required: true, checked });
    // The core's path buffer bounds a name; no file system the browser reads from comes near it.
    radio.setCustomValidity(utf8_length(name) < reading.capacity ? '' : 'This name is too long.');
    const size = document.createElement('span');
    size.className = 'size';
    size.textContent = ` (${size_text(given[name] ? given[name].size : FS.stat(name).size)})`;
    label.append(radio, ` ${name}`, size);
    list.append(label);
  }
  list.hidden = names.length === 0;
  $('read-files').required = names.length === 0;
  const checked = list.querySelector('input:checked');
  if (checked)
    checked.focus();
}

// Reads the start of each file, up to read_limit, into the working folder. A read that takes
// longer than a tenth of a second shows that it is working; a file that cannot be read is named
// in a box, and the others are still taken.
async function read_files(files) {
  const busy = setTimeout(() => {
    const text = `Reading ${files.map(file => file.name).join(', ')}…`, live = document.querySelector('dialog[open] .live');
    document.body.classList.add('busy');
    say(text);
    if (live)
      live.textContent = text;
  }, 100);
  const taken = [], failed = [];
  for (const file of files) {
    try {
      const limit = is_archive(file.name) ? archive_read_limit : read_limit;
      const bytes = new Uint8Array(await file.slice(0, limit).arrayBuffer());
      FS.writeFile(file.name, bytes, { canOwn: true });
      given[file.name] = { size: file.size, patch: String.fromCharCode(...bytes.subarray(0, 5)) === patch_mark };
      taken.push(file);
    } catch (error) {
      failed.push(`${file.name}: ${error.message || error.name}`);
    }
  }
  clearTimeout(busy);
  if (document.body.classList.contains('busy')) {
    document.body.classList.remove('busy');
    say('');
    document.querySelectorAll('.live').forEach(live => (live.textContent = ''));
  }
  if (failed.length > 0)
    await Module.page.message('Error', `This browser could not read:\n\n${failed.join('\n')}\n\n` +
                              'Choose the file again, or copy it somewhere else on this device first.');
  return taken;
}

// Takes the files into the working folder. One file is the choice itself; several are listed to
// choose from.
let early_files = null; // given before the program asked for any, as from a file handler at launch
async function take_files(files) {
  const asking = reading;
  if (!asking) {
    early_files = files;
    return;
  }
  const taken = await read_files([...files].filter(file => file.name && !file.name.includes('/') &&
                                                          !/^\.\.?$/.test(file.name)));
  if (asking !== reading) {
    return; // the dialog was closed while the files were read
  } else if (taken.length === 1 && utf8_length(taken[0].name) < asking.capacity) {
    asking.settle({ name: taken[0].name });
  } else if (taken.length > 0 && asking.landing) {
    asking.landing = false;
    ask($('read'), list_files).then(answer => asking.settle({ answer }));
  } else if (taken.length > 0) {
    list_files();
  }
}

for (const input of [$('read-files'), $('landing-files')])
  input.addEventListener('change', event => take_files(event.target.files));
// A file dropped anywhere while a file is asked for is taken; elsewhere the browser must not open it.
addEventListener('dragover', event => {
  event.preventDefault();
  document.body.classList.toggle('dragging', reading !== null);
});
addEventListener('dragleave', event => event.relatedTarget || document.body.classList.remove('dragging'));
addEventListener('drop', event => {
  event.preventDefault();
  document.body.classList.remove('dragging');
  take_files(event.dataTransfer.files);
});
$('again').addEventListener('click', () => location.reload());
// An installed app opens the files the system gives it (.ips and images) as if they were dropped.
if ('launchQueue' in window)
  launchQueue.setConsumer(async launch => take_files(await Promise.all(launch.files.map(handle => handle.getFile()))));
if ('serviceWorker' in navigator && location.protocol !== 'file:')
  navigator.serviceWorker.register('sw.js').catch(() => {}); // the page works without it, online

// The name suggested for the result: the image's, marked as patched, with the save pattern's
// extension, as "game (patched).bin" for game.bin.
function suggested_name(extension) {
  const stem = image_name.replace(/\.[^.]*$/, '') || 'game';
  return `${stem} (patched)${extension}`;
}

// Names the user may type: no folder part, and something before the extension.
const name_problem = name => (/\//.test(name) ? 'A name cannot hold "/".' :
  /^[.\s]*$/.test(name.replace(/\.[^.]*$/, '')) ? 'Type a name before the extension.' : '');

// The browser's own save picker, where it has one, is the only question: it asks about replacing a
// real file itself. Resolves with the handle, null on cancel, undefined where the page must ask.
async function pick_save_file(name, extension) {
  if (!window.showSaveFilePicker)
    return undefined;
  try {
    return await showSaveFilePicker({ suggestedName: name, types: [{ description: `Image (${extension})`,
                                      accept: { 'application/octet-stream': [extension] } }] });
  } catch (error) {
    return error.name === 'AbortError' ? null : undefined; // refused, as without a recent click
  }
}

Module.page = {
  async message(title, text) {
    $('message-title').textContent = title;
    const box = $('message-text');
    box.textContent = '';
    // The site's address is a link, its text unchanged.
    for (const part of text.split(/(https:\/\/[^\s]+)/)) {
      const link = part.startsWith('https://') && Object.assign(document.createElement('a'), { href: part, textContent: part });
      box.append(link || part);
    }
    await ask($('message'));
  },

  async choose(title, pattern, capacity) {
    const input = $('read-files'), landing = several_files;
    $('read-title').textContent = $('landing-title').textContent = title;
    input.accept = pattern === '*' ? '' : extensions(pattern).join(',');
    input.multiple = several_files;
    several_files = false;
    input.value = '';
    let settle;
    const settled = new Promise(resolve => (settle = resolve));
    reading = { pattern, capacity, landing, settle };
    // The first choice is the landing's drop zone: the page asks nothing until the user acts.
    if (landing) {
      document.body.dataset.state = 'landing';
      if (early_files)
        take_files(early_files);
    } else {
      ask($('read'), list_files).then(answer => settle({ answer }));
    }
    const { name, answer } = await settled;
    const picked = name || (answer === 'open' ? new FormData($('read').querySelector('form')).get('file') : null);
    if ($('read').open)
      $('read').close();
    reading = null;
    document.body.dataset.state = 'running';
    if (picked !== null && image_name === '')
      image_name = picked;
    return picked;
  },

  async name(title, pattern, capacity) {
    const field = $('save-name'), extension = extensions(pattern)[0]; // the save pattern is one
    const whole = name => (name.includes('.') ? name : name + extension);
    const picked = await pick_save_file(suggested_name(extension), extension);
    if (picked !== undefined) {
      save_handle = picked;
      // Only the page's copy has this name: one longer than the core takes is shortened.
      return picked && (utf8_length(picked.name) < capacity ? picked.name : `patched${extension}`);
    }
    const check = () => field.setCustomValidity(name_problem(field.value) ||
      (utf8_length(whole(field.value)) < capacity ? '' : 'This name is too long.'));
    $('save-title').textContent = title;
    field.value = suggested_name(extension);
    field.oninput = check;
    check();
    const answer = await ask($('save'), () => field.select()); // typing replaces the suggestion
    return answer === 'save' ? whole(field.value) : null;
  },

  async copy(text) {
    last_copied = text;
    try {
      await navigator.clipboard.writeText(text);
    } catch (error) {
      return false;
    }
    say(`Copied to clipboard: ${text}`);
    return true;
  },

  report(line) {
    $('clipboard-line').textContent = line;
    $('clipboard-text').value = last_copied;
    $('clipboard-failure').hidden = false;
  },

  // Hands the saved file to the browser: into the file its save picker opened, else as a download.
  async finish(name) {
    const link = $('download');
    let text = name ? `The patched file ${name} is ready.` : 'The run has ended.';
    if (name) {
      // The saved file's bytes where the in-memory file system keeps them: no copy before the Blob's.
      const node = FS.lookupPath(name).node, bytes = node.contents.subarray(0, node.usedBytes);
      link.href = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
      link.download = name;
      link.textContent = `Save ${name} again`;
      link.hidden = false;
      if (save_handle) {
        try {
          const writable = await save_handle.createWritable();
          await writable.write(bytes);
          await writable.close();
          text = `The patched file ${name} is saved.`;
        } catch (error) {
          text = `The patched file could not be written there (${error.message || error.name}); save it below.`;
        }
      } else {
        link.click();
      }
    }
    $('finished-text').textContent = text;
    $('finished').hidden = false;
    $('again').focus();
    document.body.dataset.state = 'finished';
  },
};
