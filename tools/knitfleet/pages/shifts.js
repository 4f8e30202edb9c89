// The shifts page: production and availability per shift for the floor or one machine (a week
// unless chosen), the table behind them, the alarm Pareto and the stops by reason; each exports
// CSV.
'use strict';

const charts = {};
let shiftRows = [];
let paretoRows = [];
let stopRows = [];

function chart(name, config) {
  if (charts[name]) charts[name].destroy();
  config.options = Object.assign({ maintainAspectRatio: false, animation: false }, config.options || {});
  charts[name] = new Chart(document.getElementById(name), config);
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
  fillShifts(document.querySelector('#shift-table tbody'), shiftRows);
  chart('pareto', {
    type: 'bar',
    data: { labels: paretoRows.map(r => r.code + ' ' + r.text), datasets: [
      { label: t('count'), data: paretoRows.map(r => r.count), backgroundColor: '#cf222e', yAxisID: 'y' },
      { label: t('cumulative'), data: paretoRows.map(r => r.cumulative_pct), type: 'line', borderColor: '#222', yAxisID: 'p' }] },
    options: { scales: { y: { beginAtZero: true }, p: { position: 'right', min: 0, max: 100 } } },
  });
  fillAlarmPareto(document.querySelector('#pareto-table tbody'), paretoRows);
  fillStopPareto(document.querySelector('#stops-table tbody'), stopRows);
}

async function load() {
  const machine = document.getElementById('machine').value.trim();
  const from = new Date(document.getElementById('from').value + 'T00:00');
  const to = new Date(document.getElementById('to').value + 'T00:00');
  to.setDate(to.getDate() + 1);
  const span = 'from=' + encodeURIComponent(from.toISOString()) + '&to=' + encodeURIComponent(to.toISOString());
  const shifts = '/api/shifts?' + span + (machine ? '&by=machine&machine=' + encodeURIComponent(machine) : '');
  const pareto = '/api/alarms/pareto?' + span;
  const stops = '/api/stops/pareto?' + span;
  document.getElementById('report-link').href = '/report?day=' + document.getElementById('to').value;
  document.getElementById('shifts-csv').href = shifts + '&format=csv';
  document.getElementById('pareto-csv').href = pareto + '&format=csv';
  document.getElementById('stops-csv').href = stops + '&format=csv';
  try {
    shiftRows = (await getJson(shifts)).shifts;
    paretoRows = (await getJson(pareto)).alarms;
    stopRows = (await getJson(stops)).reasons;
  } catch (e) { shiftRows = []; paretoRows = []; stopRows = []; }
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
