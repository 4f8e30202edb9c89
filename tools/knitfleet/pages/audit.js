// The audit: who did what (logins, logouts, account changes), the newest first, filtered by
// days, user, machine and action; the same rows as CSV.
'use strict';

async function load() {
  const from = new Date(document.getElementById('from').value + 'T00:00');
  const to = new Date(document.getElementById('to').value + 'T00:00');
  to.setDate(to.getDate() + 1);
  let query = 'from=' + encodeURIComponent(from.toISOString()) + '&to=' + encodeURIComponent(to.toISOString());
  ['user', 'machine', 'action'].forEach(name => {
    const v = document.getElementById(name).value.trim();
    if (v) query += '&' + name + '=' + encodeURIComponent(v);
  });
  document.getElementById('csv-link').href = '/api/audit?' + query + '&format=csv';
  let reply = { entries: [], truncated: false };
  try { reply = await getJson('/api/audit?' + query); } catch (e) { /* nothing to show */ }
  document.getElementById('truncated').hidden = !reply.truncated;
  const body = document.querySelector('#audit tbody');
  body.replaceChildren();
  reply.entries.forEach(r => fillRow(body.insertRow(), [localTime(r.time), r.action, r.user, r.machine, r.address, r.detail]));
}

document.addEventListener('DOMContentLoaded', () => {
  const today = new Date();
  document.getElementById('from').value = isoDay(new Date(today.getTime() - 29 * 86400000));
  document.getElementById('to').value = isoDay(today);
  document.getElementById('filter').addEventListener('submit', e => { e.preventDefault(); load(); });
  load();
});
