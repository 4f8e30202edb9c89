// A day's report (/report?day=YYYY-MM-DD[&shift=N]): every machine's figures for the day, or
// for its Nth shift, and the day's (shift's) alarm Pareto and stops by reason, each with its CSV.
'use strict';

async function report() {
  const q = new URLSearchParams(location.search);
  const day = q.get('day');
  const shift = Number(q.get('shift') || 0);
  let from = new Date(day + 'T00:00');
  let to = new Date(from);
  to.setDate(to.getDate() + 1);
  const span = () => 'from=' + encodeURIComponent(from.toISOString()) + '&to=' + encodeURIComponent(to.toISOString());
  let title = day;
  try {
    if (shift > 0) {
      // The day's shifts as the floor's rows name them.
      const floor = (await getJson('/api/shifts?' + span())).shifts;
      const s = floor[shift - 1];
      from = s ? new Date(s.start) : from;
      to = s ? new Date(s.end) : from;
      title += ' · ' + t('start') + ' ' + shift + (s ? ' (' + localTime(s.start) + ')' : '');
    }
    const shifts = '/api/shifts?by=machine&' + span();
    const pareto = '/api/alarms/pareto?' + span();
    const stops = '/api/stops/pareto?' + span();
    document.getElementById('shifts-csv').href = shifts + '&format=csv';
    document.getElementById('pareto-csv').href = pareto + '&format=csv';
    document.getElementById('stops-csv').href = stops + '&format=csv';
    fillShifts(document.querySelector('#shift-table tbody'), to > from ? (await getJson(shifts)).shifts : []);
    fillAlarmPareto(document.querySelector('#pareto-table tbody'), to > from ? (await getJson(pareto)).alarms : []);
    fillStopPareto(document.querySelector('#stops-table tbody'), to > from ? (await getJson(stops)).reasons : []);
  } catch (e) { /* the banner says why */ }
  document.getElementById('title').textContent = t('report') + ' ' + title;
  checkHealth();
}

document.addEventListener('DOMContentLoaded', report);
onLanguage.push(report);
