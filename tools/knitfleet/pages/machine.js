// One machine's page: its last 24 hours as a coloured timeline, pieces per shift for 14 days
// and its last 50 alarm events, each with its CSV.
'use strict';

const id = decodeURIComponent(location.pathname.split('/')[2] || '');
const DAY = 86400000;
const COLOURS = { knitting: '#2da44e', stopped: '#d4a72c', alarm: '#cf222e', offline: '#bbb' };
const SILENT_MS = 60000;
let samples = [];
let shiftRows = [];
let alarmRows = [];
let piecesChart = null;

function drawTimeline() {
  const c = document.getElementById('timeline');
  const g = c.getContext('2d');
  const end = Date.now();
  const from = end - DAY;
  const x = ms => (ms - from) / DAY * c.width;
  g.fillStyle = COLOURS.offline;
  g.fillRect(0, 0, c.width, c.height);
  samples.forEach((s, i) => {
    const t = Date.parse(s.time);
    const next = i + 1 < samples.length ? Date.parse(samples[i + 1].time) : end;
    g.fillStyle = COLOURS[s.state] || COLOURS.offline;
    g.fillRect(x(t), 0, Math.max(1, x(Math.min(next, t + SILENT_MS)) - x(t)), c.height);
  });
}

function drawPieces() {
  const labels = shiftRows.map(r => localTime(r.start));
  const data = { labels, datasets: [{ label: t('pieces'), data: shiftRows.map(r => r.pieces), backgroundColor: '#2da44e' }] };
  if (piecesChart) piecesChart.destroy();
  piecesChart = new Chart(document.getElementById('pieces'), { type: 'bar', data, options: { maintainAspectRatio: false, animation: false } });
}

function drawAlarms() {
  const body = document.querySelector('#alarms tbody');
  body.replaceChildren();
  alarmRows.forEach(a => fillRow(body.insertRow(), [localTime(a.time), t(a.event), a.code, a.text, a.job, a.row, a.pieces], [2, 5, 6]));
}

function drawAll() {
  document.getElementById('title').textContent = t('machine') + ' ' + id;
  drawTimeline();
  drawPieces();
  drawAlarms();
}

async function load() {
  const base = '/api/machines/' + encodeURIComponent(id);
  const from = new Date(Date.now() - 14 * DAY).toISOString();
  const shifts = '/api/shifts?by=machine&machine=' + encodeURIComponent(id) + '&from=' + encodeURIComponent(from);
  document.getElementById('samples-csv').href = base + '/samples?format=csv';
  document.getElementById('alarms-csv').href = base + '/alarms?format=csv';
  document.getElementById('shifts-csv').href = shifts + '&format=csv';
  try {
    samples = (await getJson(base + '/samples')).samples;
    shiftRows = (await getJson(shifts)).shifts;
    alarmRows = (await getJson(base + '/alarms')).alarms;
  } catch (e) { /* what arrived is drawn */ }
  drawAll();
  checkHealth();
}

onLanguage.push(() => { if (piecesChart) drawAll(); });
document.addEventListener('DOMContentLoaded', load);
