// The shifts page: production and availability per shift for the floor or one machine (a week
// unless chosen), the table behind them, and the alarm Pareto; each exports CSV.
'use strict';

const charts = {};
let shiftRows = [];
let paretoRows = [];

function chart(name, config) {
  if (charts[name]) charts[name].destroy();
  config.options = Object.assign({ maintainAspectRatio: false, animation: false }, config.options || {});
  charts[name] = new Chart(document.getElementById(name), config);
}

function pct(v) {
  return v === null || v === undefined ? '' : (v * 100).toFixed(1);
}

function drawAll() {
  const labels = shiftRows.map(r => (r.machine ? r.machine + ' ' : '') + localTime(r.start));
  chart('production', { type: 'bar', data: { labels, datasets: [{ label: t('pieces'), data: shiftRows.map(r => r.pieces), backgroundColor: '#2da44e' }] } });
  chart('availability', {
    type: 'bar',
    data: { labels, datasets: [
      { label: t('availability') + ' %', data: shiftRows.map(r => pct(r.availability)), backgroundColor: '#0969da' },
      { label: t('oee') + ' %', data: shiftRows.map(r => pct(r.oee)), backgroundColor: '#8250df' }] },
    options: { scales: { y: { min: 0, max: 100 } } },
  });
  const body = document.querySelector('#shift-table tbody');
  body.replaceChildren();
  shiftRows.forEach(r => fillRow(body.insertRow(), [r.machine || t('wholeFloor'), localTime(r.start), r.pieces,
    Math.round(r.knitting_s / 60), Math.round(r.stopped_s / 60), Math.round(r.nodata_s / 60),
    pct(r.availability), pct(r.performance), pct(r.oee), r.alarms], [2, 3, 4, 5, 6, 7, 8, 9]));
  chart('pareto', {
    type: 'bar',
    data: { labels: paretoRows.map(r => r.code + ' ' + r.text), datasets: [
      { label: t('count'), data: paretoRows.map(r => r.count), backgroundColor: '#cf222e', yAxisID: 'y' },
      { label: t('cumulative'), data: paretoRows.map(r => r.cumulative_pct), type: 'line', borderColor: '#222', yAxisID: 'p' }] },
    options: { scales: { y: { beginAtZero: true }, p: { position: 'right', min: 0, max: 100 } } },
  });
  const pbody = document.querySelector('#pareto-table tbody');
  pbody.replaceChildren();
  paretoRows.forEach(r => fillRow(pbody.insertRow(), [r.code, r.text, r.count, Math.round(r.standing_s / 60), r.cumulative_pct], [0, 2, 3, 4]));
}

async function load() {
  const machine = document.getElementById('machine').value.trim();
  const from = new Date(document.getElementById('from').value + 'T00:00');
  const to = new Date(document.getElementById('to').value + 'T00:00');
  to.setDate(to.getDate() + 1);
  const span = 'from=' + encodeURIComponent(from.toISOString()) + '&to=' + encodeURIComponent(to.toISOString());
  const shifts = '/api/shifts?' + span + (machine ? '&by=machine&machine=' + encodeURIComponent(machine) : '');
  const pareto = '/api/alarms/pareto?' + span;
  document.getElementById('shifts-csv').href = shifts + '&format=csv';
  document.getElementById('pareto-csv').href = pareto + '&format=csv';
  try {
    shiftRows = (await getJson(shifts)).shifts;
    paretoRows = (await getJson(pareto)).alarms;
  } catch (e) { shiftRows = []; paretoRows = []; }
  drawAll();
  checkHealth();
}

document.addEventListener('DOMContentLoaded', () => {
  const today = new Date();
  const weekAgo = new Date(today.getTime() - 6 * 86400000);
  document.getElementById('from').value = isoDay(weekAgo);
  document.getElementById('to').value = isoDay(today);
  document.getElementById('range').addEventListener('submit', e => { e.preventDefault(); load(); });
  load();
});
onLanguage.push(() => { if (charts.production) drawAll(); });
