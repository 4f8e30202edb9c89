// The floor page: every machine, alarms first, kept up to date over the WebSocket /ws (the
// server sends all machines on connecting, then those that changed). A lost connection shows
// the "disconnected" banner and is tried again, 1 s doubling to 10 s.
'use strict';

const machines = new Map(); // id -> row from the server
const rows = new Map();     // id -> <tr>
let retryMs = 1000;
let drawPending = false;

function order(a, b) {
  const aa = a.state === 'alarm' ? 0 : 1;
  const ab = b.state === 'alarm' ? 0 : 1;
  return aa - ab || (a.machine < b.machine ? -1 : a.machine > b.machine ? 1 : 0);
}

function draw() {
  drawPending = false;
  const body = document.querySelector('#machines tbody');
  const list = [...machines.values()].sort(order);
  let knitting = 0;
  let alarms = 0;
  list.forEach(m => {
    let tr = rows.get(m.machine);
    if (!tr) {
      tr = document.createElement('tr');
      tr.id = 'm-' + m.machine;
      rows.set(m.machine, tr);
    }
    tr.className = 'state-' + m.state + (m.stale ? ' stale' : '');
    fillRow(tr, [link('/machine/' + encodeURIComponent(m.machine), m.machine), t(m.state === 'alarm' ? 'alarmState' : m.state), m.job,
                 m.row + '/' + m.rows, m.speed, m.pieces + '/' + m.target, m.alarm, localTime(m.last_seen)], [3, 4, 5]);
    tr.cells[6].classList.add('alarm');
    body.appendChild(tr); // in order: moves a row that is there already
    knitting += m.state === 'knitting' ? 1 : 0;
    alarms += m.state === 'alarm' ? 1 : 0;
  });
  document.getElementById('summary').textContent = t('summary', list.length, knitting, alarms);
  document.body.dataset.rows = String(body.rows.length);
}

function scheduleDraw() {
  if (!drawPending) {
    drawPending = true;
    requestAnimationFrame(draw);
  }
}

function connect() {
  const ws = new WebSocket((location.protocol === 'https:' ? 'wss://' : 'ws://') + location.host + '/ws');
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
    scheduleDraw();
  };
  ws.onclose = () => {
    document.getElementById('banner-link').hidden = false;
    setTimeout(connect, retryMs);
    retryMs = Math.min(retryMs * 2, 10000);
  };
}

onLanguage.push(scheduleDraw);
document.addEventListener('DOMContentLoaded', connect);
