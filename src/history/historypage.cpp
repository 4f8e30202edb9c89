#include "historypage.h"

#include "data/alarmtexts.h"
#include "data/historylog.h"
#include "logic/history/machinehistory.h"
#include "platform/atomicfile.h"
#include "platform/fsops.h"
#include "platform/panelpaths.h"
#include "platform/systemactions.h"
#include "ui/beepingbutton.h"
#include "ui/beepinglistview.h"
#include "ui/beepingtabwidget.h"
#include "ui/operatordialogs.h"
#include "ui/panelfonts.h"
#include "ui/stickexportdialog.h"

#include <QHeaderView>
#include <QShortcut>

namespace {

QString eventText(const QString &event)
{
    if (event == QLatin1String("raised"))
        return HistoryPage::tr("报警");
    if (event == QLatin1String("acknowledged"))
        return HistoryPage::tr("确认");
    if (event == QLatin1String("reason"))
        return HistoryPage::tr("停机原因");
    return HistoryPage::tr("解除");
}

QString duration(qint64 seconds)
{
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

const char *const kHelp[] = {
    QT_TRANSLATE_NOOP("HistoryPage", "最近 200 条报警记录, 新的在前. F1-F3 换页, 上下键翻看."),
    QT_TRANSLATE_NOOP("HistoryPage", "最近 7 天最常见的 10 种报警: 次数与停机时间."),
    QT_TRANSLATE_NOOP("HistoryPage", "最近 7 天每天的件数, 编织时间, 停车时间和编织比例."),
};

} // namespace

HistoryPage::HistoryPage(QWidget *parent, const QDateTime &now)
    : ScreenFrame(parent, "historypage")
{
    const QDateTime at = now.isValid() ? now : SystemActions::now();
    setTitleLine(QStringLiteral("Machine History"));
    tabs_ = new BeepingTabWidget(this, "tabs");
    tabs_->setGeometry(0, 45, 640, 435);
    tabs_->setFont(PanelFonts::panel());
    tabs_->setFocusPolicy(Qt::NoFocus);

    const HistoryLog::Read alarms = HistoryLog::readLog(MachineHistory::alarmLogPath());
    const HistoryLog::Read production = HistoryLog::readLog(MachineHistory::productionLogPath());
    skipped_ = alarms.skipped + production.skipped;

    BeepingListView *events = addList(tr("F1.报警记录"), {tr("时间"), tr("事件"), tr("报警内容"), tr("花型"), tr("行")});
    for (int i = int(alarms.entries.size()) - 1, n = 0; i >= 0 && n < kAlarmRows; --i, ++n) {
        const HistoryLog::Entry &e = alarms.entries[i];
        new QTreeWidgetItem(events, {HistoryLog::timeText(e.time).replace(QLatin1Char('T'), QLatin1Char(' ')),
                                     eventText(e.event),
                                     // A stop's reason is its list's text, not an alarm's.
                                     e.event == QLatin1String("reason") ? e.field(4)
                                                                        : AlarmTexts::shown(e.number(2), e.number(3), e.field(4)),
                                     e.field(5), e.field(6)});
    }

    BeepingListView *frequent = addList(tr("F2.常见报警"), {tr("报警内容"), tr("次数"), tr("停机时间")});
    for (const HistoryLog::Frequent &f : HistoryLog::frequentAlarms(alarms.entries, at.addDays(-kDays), at))
        new QTreeWidgetItem(frequent,
                            {AlarmTexts::shown(f.type, f.code, f.text), QString::number(f.count), duration(f.standingSeconds)});

    BeepingListView *perDay = addList(tr("F3.生产统计"),
                                 {tr("日期"), tr("件数"), tr("编织时间"), tr("停车时间"), tr("编织比例")});
    for (const HistoryLog::Day &d : HistoryLog::days(production.entries, at.date().addDays(1 - kDays), at.date(), at)) {
        const qint64 total = d.knittingSeconds + d.stoppedSeconds;
        new QTreeWidgetItem(perDay, {d.date.toString(QStringLiteral("yyyy-MM-dd")), QString::number(d.pieces),
                                     duration(d.knittingSeconds), duration(d.stoppedSeconds),
                                     total ? QStringLiteral("%1%").arg(d.knittingSeconds * 100 / total) : QStringLiteral("-")});
    }
    // Right of the tabs, in the row they leave free.
    auto *exportButton = new BeepingButton(tr("F4.导出到U盘"), this, "Bexport");
    exportButton->setFocusPolicy(Qt::NoFocus);
    exportButton->setGeometry(500, 46, 136, 24);
    exportButton->raise();
    connect(exportButton, &QPushButton::clicked, this, &HistoryPage::exportToStick);
    for (int key : {Qt::Key_F4, Qt::Key_D})
        connect(new QShortcut(QKeySequence(key), this), &QShortcut::activated, this, &HistoryPage::exportToStick);
    connect(tabs_, &QTabWidget::currentChanged, this, &HistoryPage::showTab);
    // F1-F3 and the keypad's letters A-C that stand for them, before the list's own type-ahead.
    for (int tab = 0; tab < 3; ++tab) {
        for (int key : {Qt::Key_F1 + tab, Qt::Key_A + tab}) {
            auto *shortcut = new QShortcut(QKeySequence(key), this);
            connect(shortcut, &QShortcut::activated, this, [this, tab] { tabs_->setCurrentIndex(tab); });
        }
    }
    showTab(0);
}

BeepingListView *HistoryPage::list(int tab) const
{
    return qobject_cast<BeepingListView *>(tabs_->widget(tab));
}

BeepingListView *HistoryPage::addList(const QString &title, const QStringList &columns)
{
    auto *list = new BeepingListView(tabs_, "list");
    list->setHeaderLabels(columns);
    list->setRootIsDecorated(false);
    list->setAllColumnsShowFocus(true);
    list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tabs_->addTab(list, title);
    return list;
}

void HistoryPage::showTab(int tab)
{
    QString help = tr(kHelp[tab]);
    if (skipped_ > 0)
        help += tr(" (%n 行记录损坏, 已跳过)", nullptr, skipped_);
    setMessageLine(help);
    BeepingListView *l = list(tab);
    if (l->currentItem() == nullptr && l->topLevelItemCount() > 0)
        l->setCurrentItem(l->topLevelItem(0));
    l->setFocus();
}

bool HistoryPage::stage(const QString &folder, const QString &stamp)
{
    const struct
    {
        QString log;
        const char *name;
        QStringList header;
    } logs[] = {{MachineHistory::alarmLogPath(), "-alarms.csv", HistoryLog::alarmHeader()},
                {MachineHistory::productionLogPath(), "-production.csv", HistoryLog::productionHeader()}};
    if (!FsOps::makeDir(folder))
        return false;
    for (const auto &l : logs) {
        // Read again: the logs grow while the page is open.
        const QByteArray text = HistoryLog::csv(l.header, HistoryLog::readLog(l.log).entries);
        if (!AtomicFile::save(folder + QLatin1Char('/') + stamp + QLatin1String(l.name), text))
            return false;
    }
    return true;
}

void HistoryPage::exportToStick()
{
    const QString stamp = SystemActions::now().toString(QStringLiteral("'history-'yyyyMMdd-HHmmss"));
    const QString folder = PanelPaths::tmp(QLatin1Char('/') + stamp);
    if (stage(folder, stamp))
        StickExportDialog::saveFileToStick(folder, tr("导出到U盘"), PanelPaths::usbRoot(), QStringLiteral("*.csv"), this);
    else
        showMessage(this, tr("导出文件失败, 请重试 !"));
    FsOps::removeTree(folder);
    list(tabs_->currentIndex())->setFocus();
}
