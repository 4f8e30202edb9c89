// The job library: each name's versions (rows, width, size, state, who uploaded it and why),
// a preview of the pattern and each file to download; a supervisor uploads, approves and
// archives here, and assigns a released version to a machine (its panel is offered it; the
// operator loads it). Names and comments are put in as text only.
'use strict';

let csrf = '';

async function post(url, body) {
  const r = await fetch(url, { method: 'POST', headers: { 'X-CSRF-Token': csrf }, body });
  let reply = {};
  try { reply = await r.json(); } catch (e) { /* an empty answer */ }
  if (r.status === 503) showDatabase(reply.error);
  return { ok: r.ok, reply };
}

function button(text, action) {
  const b = document.createElement('button');
  b.type = 'button';
  b.textContent = t(text);
  b.addEventListener('click', async () => {
    const done = await action();
    if (!done.ok) b.textContent = done.reply.error || t(text);
    else load();
  });
  return b;
}

function versionRow(body, job, v) {
  const base = '/api/library/' + encodeURIComponent(job.name) + '/' + v.version + '/';
  const tr = body.insertRow();
  fillRow(tr, [job.name, v.version, v.rows, v.width, v.size, t(v.state), v.uploader, localTime(v.uploaded), v.comment], [1, 2, 3, 4]);
  const picture = document.createElement('img');
  picture.src = base + 'preview.png';
  picture.alt = job.name;
  picture.className = 'preview';
  picture.loading = 'lazy';
  tr.insertCell().append(picture);
  const files = tr.insertCell();
  ['cnt', 'pat', 'wrk'].forEach(ext => {
    files.append(link(base + encodeURIComponent(job.name + '.' + ext), '.' + ext), ' ');
  });
  const actions = tr.insertCell();
  if (!csrf) return;
  if (v.state === 'waiting') actions.append(button('approve', () => post(base + 'approve')));
  if (v.state === 'released' && !job.archived) actions.append(button('assign', () => pick(job.name, v.version)));
  if (!job.archived && v === job.versions[0])
    actions.append(button('archive', () => post('/api/library/' + encodeURIComponent(job.name) + '/archive')));
}

async function load() {
  let reply = { names: [] };
  try { reply = await getJson('/api/library'); } catch (e) { /* the banner says why */ }
  const body = document.querySelector('#library tbody');
  body.replaceChildren();
  reply.names.forEach(job => job.versions.forEach(v => versionRow(body, job, v)));
}

// A row's assign button fills the form; the machine is asked for there.
function pick(name, version) {
  document.getElementById('assign-job').value = name;
  document.getElementById('assign-version').value = version;
  document.getElementById('assign-machine').focus();
  return { ok: false, reply: {} };
}

async function assign(e) {
  e.preventDefault();
  const form = new FormData(e.target);
  const machine = form.get('machine');
  const body = JSON.stringify({ job: form.get('job'), version: Number(form.get('version') || 0) });
  const done = await post('/api/machines/' + encodeURIComponent(machine) + '/job', body);
  const offer = done.reply.offer;
  document.getElementById('assign-result').textContent = !done.ok ? done.reply.error || ''
    : offer ? t('assigned', offer.job, offer.version, machine) : t('offerCleared', machine);
}

async function upload(e) {
  e.preventDefault();
  const result = document.getElementById('upload-result');
  result.textContent = '';
  const done = await post('/api/library', new FormData(e.target));
  result.textContent = done.ok ? t('uploaded', done.reply.version)
    : (done.reply.code !== undefined ? done.reply.code + ': ' : '') + (done.reply.error || '');
  if (done.ok) load();
}

document.addEventListener('DOMContentLoaded', async () => {
  // A supervisor's or an admin's session changes the library; anyone else reads it.
  try {
    const s = await getJson('/api/session');
    if (s.role === 'supervisor' || s.role === 'admin') csrf = s.csrf || '';
  } catch (e) { /* no session: read only */ }
  document.getElementById('upload').hidden = !csrf;
  document.getElementById('assign').hidden = !csrf;
  document.getElementById('assign').addEventListener('submit', assign);
  document.getElementById('upload').addEventListener('submit', upload);
  checkHealth();
  load();
});
