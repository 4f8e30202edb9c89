// The floor page: a tile per machine, grouped by hall, coloured by its state, with how long it
// has stood, why (the reason or the alarm), its job (with its library version, marked newest or
// not, when the panel loaded it from there), pieces and ETA; kept up to date over the
// WebSocket /ws (all machines on connecting, then those that changed). ?screen=hall[&group=G]
// is for a hall's TV: every tile on one screen without scrolling, as large as they fit. A lost
// connection shows the "disconnected" banner and is tried again, 1 s doubling to 10 s.
'use strict';

const query = new URLSearchParams(location.search);
const hall = query.get('screen') === 'hall';
const onlyGroup = query.get('group');
const machines = new Map(); // id -> row from the server
const tiles = new Map();    // id -> element
const sections = new Map(); // group -> element
const newest = new Map();   // job name -> its newest released version in the library
let retryMs = 1000;
let drawPending = false;

function order(a, b) {
  const aa = a.state === 'alarm' ? 0 : 1;
  const ab = b.state === 'alarm' ? 0 : 1;
  return (a.group < b.group ? -1 : a.group > b.group ? 1 : 0) || aa - ab || (a.machine < b.machine ? -1 : a.machine > b.machine ? 1 : 0);
}

function span(cls) {
  const s = document.createElement('span');
  s.className = cls;
  return s;
}

function standing(since) {
  if (!since) return '';
  const s = Math.max(0, Math.round((Date.now() - Date.parse(since)) / 1000));
  const h = Math.floor(s / 3600);
  const m = Math.floor(s / 60) % 60;
  return (h ? h + ':' + String(m).padStart(2, '0') : m) + ':' + String(s % 60).padStart(2, '0');
}

function tile(m) {
  let e = tiles.get(m.machine);
  if (!e) {
    e = document.createElement('div');
    e.id = 'm-' + m.machine;
    e.append(link('/machine/' + encodeURIComponent(m.machine), m.machine), span('since'), span('why'), span('job'), span('mark'),
      span('pieces'), span('eta'));
    e.firstChild.className = 'id';
    tiles.set(m.machine, e);
  }
  e.className = 'tile state-' + m.state + (m.stale ? ' stale' : '') + (m.reason ? (m.reason.planned ? ' planned' : ' unplanned') : '');
  e.dataset.since = m.since || '';
  const why = m.state === 'alarm' ? m.alarm : m.reason ? m.reason.text : m.state === 'stopped' ? t('noReason') : m.config_error || '';
  e.querySelector('.why').textContent = why;
  e.querySelector('.job').textContent = m.job + (m.version ? ' v' + m.version : '');
  const latest = m.version ? newest.get(m.job) || 0 : 0;
  const mark = e.querySelector('.mark');
  mark.textContent = !latest ? '' : m.version >= latest ? t('newest') : t('available', latest);
  mark.classList.toggle('behind', latest > m.version);
  e.querySelector('.pieces').textContent = m.pieces + '/' + m.target;
  const eta = e.querySelector('.eta');
  eta.textContent = m.eta ? t('eta') + ' ' + localTime(m.eta).slice(-8, -3) : '';
  eta.classList.toggle('in-shift', !!m.eta_in_shift);
  e.querySelector('.since').textContent = standing(m.since);
  e.title = m.config_error ? t('configError') + m.config_error : '';
  return e;
}

function section(group) {
  let s = sections.get(group);
  if (!s) {
    s = document.createElement('section');
    s.append(document.createElement('h2'), document.createElement('div'));
    s.firstChild.textContent = group;
    s.lastChild.className = 'tiles';
    sections.set(group, s);
  }
  return s;
}

function draw() {
  drawPending = false;
  const main = document.getElementById('halls');
  // Read before anything changes, so no layout is forced here.
  const room = hall ? { width: document.documentElement.clientWidth, height: window.innerHeight - main.getBoundingClientRect().top - 4 } : null;
  const list = [...machines.values()].filter(m => !onlyGroup || m.group === onlyGroup).sort(order);
  const groups = new Map(); // group -> its tiles in order
  list.forEach(m => {
    if (!groups.has(m.group)) groups.set(m.group, []);
    groups.get(m.group).push(tile(m));
  });
  // The tiles' size before they stand: set after, it laid out every tile twice.
  if (hall) fitHall(room, [...groups.values()].map(g => g.length));
  groups.forEach((shown, group) => {
    const s = section(group);
    s.lastChild.replaceChildren(...shown);
    main.appendChild(s); // in order: moves a section that is there already
  });
  sections.forEach((s, g) => { if (!groups.has(g)) s.remove(); });
  const count = state => list.filter(m => m.state === state).length;
  document.getElementById('summary').textContent = t('summary', list.length, count('knitting'), count('alarm'));
  document.body.dataset.tiles = String(list.length);
}

// The largest tiles (about twice as wide as tall) with which every one fits the room; counts:
// the tiles of each group shown.
function fitHall(room, counts) {
  const main = document.getElementById('halls');
  const headS = 22;
  const total = counts.reduce((a, b) => a + b, 0);
  let best = { w: 0, h: 0 };
  for (let columns = 1; columns <= Math.max(1, total); ++columns) {
    const rows = counts.reduce((a, n) => a + Math.ceil(n / columns), 0);
    const w = Math.floor(room.width / columns) - 4;
    const h = Math.min(Math.floor((room.height - counts.length * headS) / Math.max(1, rows)) - 4, Math.floor(w / 1.6));
    if (h > best.h) best = { w, h };
  }
  main.style.setProperty('--tile-w', best.w + 'px');
  main.style.setProperty('--tile-h', best.h + 'px');
  main.style.setProperty('--id-px', Math.max(8, Math.min(best.h * 0.3, best.w / 7)).toFixed(1) + 'px');
}

// The library's newest released version of each name, for the tiles' marks; a minute old at most.
async function loadLibrary() {
  try {
    const reply = await getJson('/api/library');
    newest.clear();
    reply.names.filter(n => !n.archived).forEach(n => {
      const v = n.versions.find(x => x.state === 'released');
      if (v) newest.set(n.name, v.version);
    });
    scheduleDraw();
  } catch (e) { /* the marks wait for the next try */ }
}

function scheduleDraw() {
  if (!drawPending) {
    drawPending = true;
    requestAnimationFrame(draw);
  }
}

function connect() {
  // A hall's TV asks for its hall's machines only.
  const ws = new WebSocket((location.protocol === 'https:' ? 'wss://' : 'ws://') + location.host + '/ws'
    + (onlyGroup ? '?group=' + encodeURIComponent(onlyGroup) : ''));
  ws.onopen = () => {
    retryMs = 1000;
    document.getElementById('banner-link').hidden = true;
  };
  ws.onmessage = e => {
    const m = JSON.parse(e.data);
    if (m.type === 'health') {
      showDatabase(m.database);
      return;
    }
    if (m.type === 'full') machines.clear();
    m.machines.forEach(r => machines.set(r.machine, r));
    // The whole floor is drawn at once, not a frame later; changes wait for the next frame.
    if (m.type === 'full') draw(); else scheduleDraw();
  };
  ws.onclose = () => {
    document.getElementById('banner-link').hidden = false;
    setTimeout(connect, retryMs);
    retryMs = Math.min(retryMs * 2, 10000);
  };
}

if (hall) document.body.classList.add('hall');
onLanguage.push(scheduleDraw);
window.addEventListener('resize', scheduleDraw);
// Standing times go on between messages.
setInterval(() => tiles.forEach(e => { e.querySelector('.since').textContent = standing(e.dataset.since); }), 1000);
document.addEventListener('DOMContentLoaded', () => {
  connect();
  loadLibrary();
  setInterval(loadLibrary, 60000);
});
