#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

class QWidget;

// Writes, with KNIT_LAYOUT_AUDIT=FILE, every visible label or button whose text does not fit
// its widget, every visible widget that leaves the 640 x 480 screen and visible neighbours that
// overlap, each time a window is shown or laid out: one line per finding, each finding once.
// The screen walk fails on a line.
class LayoutAudit : public QObject
{
    Q_OBJECT

public:
    // A widget with this property true is placed over its neighbours by design (the alarm
    // button over the bottom band): no overlap of it is a finding.
    static constexpr char kOverlays[] = "layoutOverlays";

    // Once, after the application exists, by main(); does nothing without the variable. The
    // application owns the audit.
    static void install();
    // The findings in the window w, one text each.
    static QStringList findings(QWidget *w);
    // Visible siblings in the window w that overlap, one text each; a widget over a frame it
    // lies wholly inside (the panel's raised panels carry their labels so) is not one, nor are
    // two that share one edge line.
    static QStringList overlaps(QWidget *w);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit LayoutAudit(const QString &path, QObject *parent);
    void audit();

    QString path_;
    QSet<QString> written_;
    QStringList all_;
    bool pending_ = false;
};
