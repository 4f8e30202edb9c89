// The dashboard pages' shared part: texts in Chinese and English, the language switch, table
// cells (always as text, never as markup), times and the database banner.
'use strict';

const TEXTS = {
  en: {
    floor: 'Floor', shifts: 'Shifts', floorTitle: 'Machines on the floor', shiftsTitle: 'Shifts',
    machine: 'Machine', state: 'State', job: 'Job', row: 'Row', speed: 'Speed', pieces: 'Pieces',
    alarm: 'Alarm', lastSeen: 'Last seen', csv: 'CSV', disconnected: 'disconnected',
    knitting: 'knitting', stopped: 'stopped', offline: 'offline', nodata: 'no data', alarmState: 'alarm',
    database: 'Database unavailable, history is not recorded: ',
    summary: '{0} machines, {1} knitting, {2} with an alarm',
    timeline: 'Last 24 hours', piecesPerShift: 'Pieces per shift, 14 days', lastAlarms: 'Last 50 alarm events',
    time: 'Time', event: 'Event', code: 'Code', raised: 'raised', acknowledged: 'acknowledged', cleared: 'cleared',
    from: 'From', to: 'To', show: 'Show', production: 'Production per shift', availability: 'Availability',
    performance: 'Performance', oee: 'OEE (no quality)', alarms: 'Alarms', start: 'Shift', pareto: 'Alarm Pareto',
    count: 'Count', standing: 'Standing (min)', cumulative: 'Cumulative %', wholeFloor: 'whole floor',
    alerts: 'Alerts', noReason: 'no reason given', eta: 'ETA', configError: 'Reason list refused: ',
    stopPareto: 'Stops by reason', reason: 'Reason', planned: 'planned', unplanned: 'unplanned', unexplained: 'unexplained',
    stoppedMin: 'Stopped (min)', plannedStop: 'Planned stops', unplannedStop: 'Unplanned stops', unexplainedStop: 'Unexplained',
    report: 'Day report', rule: 'Rule', channel: 'Sent by', outcome: 'Outcome', since: 'Since', text: 'Text',
    alertsTitle: 'Alerts sent', fired: 'fired', ended: 'ended', alarmStop: 'alarm', logout: 'Log out',
    audit: 'Audit', auditTitle: 'Audit: who did what', user: 'User', action: 'Action', address: 'Address', detail: 'Detail',
    auditTruncated: 'Only the newest 10,000 rows are shown: narrow the filter for the older ones.',
    library: 'Jobs', libraryTitle: 'Job library', jobName: 'Job', version: 'Version', rows: 'Rows', width: 'Width',
    size: 'Bytes', uploader: 'Uploaded by', comment: 'Comment', preview: 'Preview', files: 'Files', upload: 'Upload',
    approve: 'Approve', archive: 'Archive', waiting: 'waiting for approval', released: 'released', archived: 'archived',
    uploaded: 'Stored as version {0}',
    assign: 'Assign', assigned: '{0} v{1} offered to {2}', offerCleared: 'No job offered to {0}',
    newest: 'newest', available: 'v{0} available',
  },
  zh: {
    floor: '车间', shifts: '班次', floorTitle: '车间机器', shiftsTitle: '班次统计',
    machine: '机器', state: '状态', job: '花型', row: '行', speed: '速度', pieces: '件数',
    alarm: '报警', lastSeen: '最后消息', csv: '导出CSV', disconnected: '连接断开',
    knitting: '编织', stopped: '停车', offline: '离线', nodata: '无数据', alarmState: '报警',
    database: '数据库不可用，历史未记录：',
    summary: '{0} 台机器，{1} 台编织，{2} 台报警',
    timeline: '最近24小时', piecesPerShift: '每班件数（14天）', lastAlarms: '最近50条报警',
    time: '时间', event: '事件', code: '代码', raised: '报警', acknowledged: '确认', cleared: '清除',
    from: '从', to: '到', show: '显示', production: '每班产量', availability: '可用率',
    performance: '性能', oee: 'OEE（不含质量）', alarms: '报警次数', start: '班次', pareto: '报警帕累托',
    count: '次数', standing: '持续（分钟）', cumulative: '累计 %', wholeFloor: '全车间',
    alerts: '提醒', noReason: '未填原因', eta: '预计完成', configError: '原因列表被拒绝：',
    stopPareto: '停车原因', reason: '原因', planned: '计划内', unplanned: '计划外', unexplained: '未说明',
    stoppedMin: '停车（分钟）', plannedStop: '计划停车', unplannedStop: '计划外停车', unexplainedStop: '未说明停车',
    report: '日报', rule: '规则', channel: '发送方式', outcome: '结果', since: '开始', text: '内容',
    alertsTitle: '已发送提醒', fired: '触发', ended: '结束', alarmStop: '报警', logout: '退出登录',
    audit: '审计', auditTitle: '审计记录', user: '用户', action: '操作', address: '地址', detail: '详情',
    auditTruncated: '只显示最新的10,000条：缩小筛选范围以查看更早的记录。',
    library: '花型库', libraryTitle: '花型库', jobName: '花型', version: '版本', rows: '行数', width: '宽度',
    size: '字节', uploader: '上传人', comment: '说明', preview: '预览', files: '文件', upload: '上传',
    approve: '批准', archive: '归档', waiting: '等待批准', released: '已发布', archived: '已归档',
    uploaded: '已保存为版本 {0}',
    assign: '分配', assigned: '{0} v{1} 已分配给 {2}', offerCleared: '{0} 没有分配花型',
    newest: '最新', available: 'v{0} 可用',
  },
};

let lang = localStorage.getItem('knitfleet-lang') || document.documentElement.dataset.lang || 'en';
if (!TEXTS[lang]) lang = 'en';
const onLanguage = [];

function t(key, ...args) {
  let s = TEXTS[lang][key] || key;
  args.forEach((a, i) => { s = s.replace('{' + i + '}', a); });
  return s;
}

function applyTexts() {
  document.documentElement.lang = lang;
  document.querySelectorAll('[data-t]').forEach(e => { e.textContent = t(e.dataset.t); });
  onLanguage.forEach(f => f());
}

function setLanguage(l) {
  lang = l;
  localStorage.setItem('knitfleet-lang', l);
  applyTexts();
}

// A table row of plain texts; a cell given as a Node is put in as it is.
function fillRow(tr, cells, numeric) {
  while (tr.cells.length < cells.length) tr.insertCell();
  cells.forEach((c, i) => {
    const td = tr.cells[i];
    if (c instanceof Node) { td.replaceChildren(c); } else { td.textContent = c === null || c === undefined ? '' : String(c); }
    td.classList.toggle('num', !!(numeric && numeric.includes(i)));
  });
}

// The shift rows, the alarm Pareto and the stops Pareto as tables (shifts page and report).
function pct(v) {
  return v === null || v === undefined ? '' : (v * 100).toFixed(1);
}

function fillShifts(body, rows) {
  body.replaceChildren();
  const min = s => Math.round(s / 60);
  rows.forEach(r => fillRow(body.insertRow(), [r.machine || t('wholeFloor'), localTime(r.start), r.pieces, min(r.knitting_s),
    min(r.stopped_s), min(r.planned_stop_s), min(r.unplanned_stop_s), min(r.unexplained_stop_s), min(r.nodata_s),
    pct(r.availability), pct(r.performance), pct(r.oee), r.alarms], [2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12]));
}

function fillAlarmPareto(body, rows) {
  body.replaceChildren();
  rows.forEach(r => fillRow(body.insertRow(), [r.code, r.text, r.count, Math.round(r.standing_s / 60), r.cumulative_pct], [0, 2, 3, 4]));
}

function stopText(r) {
  return r.code !== null ? r.text : t(r.text === 'alarm' ? 'alarmStop' : 'unexplained');
}

function fillStopPareto(body, rows) {
  body.replaceChildren();
  rows.forEach(r => fillRow(body.insertRow(), [r.code === null ? '' : r.code, stopText(r),
    r.code === null ? '' : t(r.planned ? 'planned' : 'unplanned'), r.count, Math.round(r.stopped_s / 60), r.cumulative_pct], [0, 3, 4, 5]));
}

function link(href, text) {
  const a = document.createElement('a');
  a.href = href;
  a.textContent = text;
  return a;
}

function showDatabase(problem) {
  const b = document.getElementById('banner-db');
  if (!b) return;
  b.hidden = !problem || problem === 'ok';
  b.textContent = b.hidden ? '' : t('database') + problem;
}

function localTime(iso) {
  const d = new Date(iso);
  return isNaN(d) ? '' : d.toLocaleString(lang === 'zh' ? 'zh-CN' : 'en-GB', { hour12: false });
}

function isoDay(d) {
  return d.getFullYear() + '-' + String(d.getMonth() + 1).padStart(2, '0') + '-' + String(d.getDate()).padStart(2, '0');
}

async function getJson(url) {
  const r = await fetch(url);
  const body = await r.json();
  if (!r.ok) {
    if (r.status === 503) showDatabase(body.error);
    throw new Error(body.error || r.status);
  }
  return body;
}

async function checkHealth() {
  try { showDatabase((await getJson('/api/health')).database); } catch (e) { /* the page shows what it has */ }
}

// Signed in by the login form: the user's name and a logout button, which posts the session's
// CSRF token.
async function showSession() {
  let s;
  try { s = await getJson('/api/session'); } catch (e) { return; }
  if (!s.user || !s.csrf) return;
  const form = document.createElement('form');
  form.method = 'post';
  form.action = '/logout';
  form.className = 'logout';
  const token = document.createElement('input');
  token.type = 'hidden';
  token.name = 'csrf';
  token.value = s.csrf;
  const who = document.createElement('span');
  who.textContent = s.user + ' ';
  const button = document.createElement('button');
  button.type = 'submit';
  button.id = 'logout';
  button.dataset.t = 'logout';
  button.textContent = t('logout');
  form.append(token, who, button);
  document.querySelector('header').append(form);
}

document.addEventListener('DOMContentLoaded', () => {
  document.getElementById('lang-zh').addEventListener('click', e => { e.preventDefault(); setLanguage('zh'); });
  document.getElementById('lang-en').addEventListener('click', e => { e.preventDefault(); setLanguage('en'); });
  applyTexts();
  showSession();
});
