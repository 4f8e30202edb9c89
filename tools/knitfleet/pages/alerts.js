// The alerts sent (the newest first), as knitfleet serve logged each send and its outcome;
// read again every 10 s.
'use strict';

async function show() {
  let rows = [];
  try { rows = (await getJson('/api/alerts')).alerts; } catch (e) { /* nothing to show */ }
  const body = document.querySelector('#alerts tbody');
  body.replaceChildren();
  rows.forEach(r => fillRow(body.insertRow(), [localTime(r.time), r.rule, r.machine, t(r.event), localTime(r.since), r.text,
    r.channel, r.outcome]));
}

document.addEventListener('DOMContentLoaded', () => {
  show();
  setInterval(show, 10000);
});
onLanguage.push(show);
