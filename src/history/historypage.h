#pragma once

#include "ui/screenframe.h"

#include <QDateTime>

class BeepingListView;
class BeepingTabWidget;

// The machine's history for the operator and the service engineer: the last alarm events,
// the alarms raised most often in the last seven days with the time they held the machine, and
// pieces, knitting and stop time per day. Read from the alarm log and the production record
// when the page opens.
class HistoryPage : public ScreenFrame
{
    Q_OBJECT

public:
    static constexpr int kAlarmRows = 200;
    static constexpr int kDays = 7;

    explicit HistoryPage(QWidget *parent = nullptr, const QDateTime &now = QDateTime());

    BeepingTabWidget *tabs() const { return tabs_; }
    BeepingListView *list(int tab) const;
    int skipped() const { return skipped_; }

public Q_SLOTS:
    // Both logs as CSV files in a folder history-YYYYMMDD-HHMMSS, through the stick's export
    // dialog (its progress and messages, and its "no stick").
    void exportToStick();

private:
    static bool stage(const QString &folder, const QString &stamp);
    void showTab(int tab);
    BeepingListView *addList(const QString &title, const QStringList &columns);

    BeepingTabWidget *tabs_;
    int skipped_ = 0;
};
