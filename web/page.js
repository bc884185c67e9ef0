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
Module.onAbort = () => say('The patcher could not start in this browser.');
// The program's standard output carries one line only, written when the clipboard refused the
// text: the page shows it beside the text to copy by hand.
Module.print = line => Module.page.report(line);

function say(text) {
  $('status').textContent = text;
}

// Shows the dialog; resolves with the value of the button that closed it, '' for Escape.
function ask(dialog, shown = () => {}) {
  return new Promise(resolve => {
    dialog.returnValue = '';
    dialog.addEventListener('close', () => resolve(dialog.returnValue), { once: true });
    dialog.showModal();
    shown();
  });
}

const utf8_length = text => new TextEncoder().encode(text).length;
const matches = (name, pattern) => pattern === '*' || name.toLowerCase().endsWith(pattern.slice(1));

// Lists the working folder's files that the pattern offers, as one choice with chosen selected (the
// only one, when chosen is ''). With none listed yet, Open asks for a file first.
function list_files(chosen) {
  const list = $('read-list');
  list.querySelectorAll('label').forEach(label => label.remove());
  $('read-legend').textContent = `Files given so far (${reading.pattern})`;
  const names = FS.readdir('.').filter(name => FS.isFile(FS.stat(name).mode) && matches(name, reading.pattern));
  for (const name of names.sort()) {
    const label = document.createElement('label'), radio = document.createElement('input');
    const checked = name === chosen || (chosen === '' && names.length === 1);
    Object.assign(radio, { type: 'radio', name: 'file', value: name, required: true, checked });
    // The core's path buffer bounds a name; no file system the browser reads from comes near it.
    radio.setCustomValidity(utf8_length(name) < reading.capacity ? '' : 'This name is too long.');
    const size = document.createElement('span');
    size.className = 'size';
    size.textContent = ` (${Math.ceil(FS.stat(name).size / 1024)} KiB)`;
    label.append(radio, ` ${name}`, size);
    list.append(label);
  }
  list.hidden = names.length === 0;
  $('read-files').required = names.length === 0;
  const checked = list.querySelector('input:checked');
  if (checked)
    checked.focus();
}

// Writes the files into the working folder. One file is the choice itself; of several, the largest
// is offered first, since the image is larger than any patch that comes with it.
async function take_files(files) {
  const asking = reading;
  if (!asking)
    return;
  const taken = [...files].filter(file => file.name && !file.name.includes('/') && !/^\.\.?$/.test(file.name));
  for (const file of taken)
    FS.writeFile(file.name, new Uint8Array(await file.arrayBuffer()), { canOwn: true });
  if (asking !== reading) {
    return; // the dialog was closed while the files were read
  } else if (taken.length === 1 && utf8_length(taken[0].name) < asking.capacity) {
    asking.picked = taken[0].name;
    $('read').close('open');
  } else if (taken.length > 0) {
    list_files(taken.reduce((a, b) => (b.size > a.size ? b : a)).name);
  }
}

$('read-files').addEventListener('change', event => take_files(event.target.files));
// A file dropped anywhere while a file is asked for is taken; elsewhere the browser must not open it.
addEventListener('dragover', event => {
  event.preventDefault();
  $('drop').classList.toggle('dragging', reading !== null);
});
addEventListener('dragleave', () => $('drop').classList.remove('dragging'));
addEventListener('drop', event => {
  event.preventDefault();
  $('drop').classList.remove('dragging');
  take_files(event.dataTransfer.files);
});
$('again').addEventListener('click', () => location.reload());

// Names the user may type: no folder part, and more than dots.
const name_problem = name => (/\//.test(name) ? 'A name cannot hold "/".' : /^\.*$/.test(name) ? 'Type a name.' : '');

// Hands the saved file to the browser: its own save dialog where it has one, else a download.
async function hand_over(name, link) {
  if (window.showSaveFilePicker) {
    try {
      const writable = await (await showSaveFilePicker({ suggestedName: name })).createWritable();
      await writable.write(FS.readFile(name));
      await writable.close();
      return;
    } catch (error) {
      if (error.name === 'AbortError')
        return; // the user closed the browser's dialog; the link below still saves it
    }
  }
  link.click();
}

Module.page = {
  async message(title, text) {
    $('message-title').textContent = title;
    $('message-text').textContent = text;
    await ask($('message'));
  },

  async choose(title, pattern, capacity) {
    const input = $('read-files');
    $('read-title').textContent = title;
    input.accept = pattern === '*' ? '' : pattern.slice(1);
    input.multiple = several_files;
    several_files = false;
    input.value = '';
    reading = { pattern, capacity, picked: null };
    const answer = await ask($('read'), () => list_files(''));
    const picked = reading.picked;
    reading = null;
    if (answer !== 'open')
      return null;
    return picked !== null ? picked : new FormData($('read').querySelector('form')).get('file');
  },

  async name(title, pattern, capacity) {
    const field = $('save-name'), extension = pattern.includes('.') ? pattern.slice(pattern.indexOf('.')) : '';
    const whole = name => (name.includes('.') ? name : name + extension);
    const check = () => field.setCustomValidity(name_problem(field.value) ||
      (utf8_length(whole(field.value)) < capacity ? '' : 'This name is too long.'));
    $('save-title').textContent = title;
    field.value = extension;
    field.oninput = check;
    check();
    const answer = await ask($('save'), () => field.setSelectionRange(0, 0));
    return answer === 'save' ? whole(field.value) : null;
  },

  async replace(title, name) {
    $('replace-title').textContent = title;
    $('replace-text').textContent = `${name} already exists. Replace it?`;
    return (await ask($('replace'))) === 'yes';
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

  async finish(name) {
    const link = $('download');
    if (name) {
      link.href = URL.createObjectURL(new Blob([FS.readFile(name)], { type: 'application/octet-stream' }));
      link.download = name;
      link.textContent = `Save ${name} again`;
      link.hidden = false;
      await hand_over(name, link);
    }
    $('finished-text').textContent = name ? `The patched file ${name} is ready.` : 'The run has ended.';
    $('finished').hidden = false;
    $('again').focus();
    document.body.dataset.state = 'finished';
  },
};
