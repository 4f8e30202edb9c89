#include "clockpage.h"

#include "logic/params/parammessages.h"
#include "logic/service/clocksetting.h"
#include "platform/systemactions.h"
#include "ui/beepingbutton.h"
#include "ui/beepingspinbox.h"
#include "ui/buzzer.h"
#include "ui/keytable.h"
#include "ui/operatordialogs.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace {

struct Field
{
    const char *caption;
    int min, max;
};

const Field kFields[] = {
    {QT_TRANSLATE_NOOP("ClockPage", "年"), ClockSetting::kFirstYear, ClockSetting::kLastYear},
    {QT_TRANSLATE_NOOP("ClockPage", "月"), 1, 12},
    {QT_TRANSLATE_NOOP("ClockPage", "日"), 1, 31},
    {QT_TRANSLATE_NOOP("ClockPage", "时"), 0, 23},
    {QT_TRANSLATE_NOOP("ClockPage", "分"), 0, 59},
    {QT_TRANSLATE_NOOP("ClockPage", "秒"), 0, 59},
};

} // namespace

ClockPage::ClockPage(QWidget *parent, const char *name)
    : QWidget(parent)
{
    setObjectName(QString::fromLatin1(name));
    label_ = new QLabel(this);
    label_->setGeometry(20, 20, 600, 40);
    const QDateTime now = SystemActions::now();
    const int values[] = {now.date().year(), now.date().month(), now.date().day(),
                          now.time().hour(), now.time().minute(), now.time().second()};
    for (int i = 0; i < 6; ++i) {
        auto *caption = new QLabel(tr(kFields[i].caption), this);
        caption->setGeometry(40 + 95 * i, 90, 80, 30);
        auto *box = new BeepingSpinBox(this);
        box->setGeometry(40 + 95 * i, 125, 80, 40);
        box->setRange(kFields[i].min, kFields[i].max);
        box->setValue(values[i]);
        box->installEventFilter(this);
        boxes_[std::size_t(i)] = box;
    }
    auto *left = new BeepingButton(QStringLiteral("LEFT"), this);
    left->setGeometry(140, 220, 150, 50);
    left->setFocusPolicy(Qt::NoFocus);
    connect(left, &QPushButton::clicked, this, &ClockPage::previousBox);
    auto *right = new BeepingButton(QStringLiteral("RIGHT"), this);
    right->setGeometry(350, 220, 150, 50);
    right->setFocusPolicy(Qt::NoFocus);
    connect(right, &QPushButton::clicked, this, &ClockPage::nextBox);
    KeyTable::install(this, {{{Qt::Key_Left}, [this] { previousBox(); }},
                             {{Qt::Key_Right}, [this] { nextBox(); }},
                             {{Qt::Key_Enter, Qt::Key_Return}, [this] { setClock(); }}});
    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this, &ClockPage::refreshClock);
    timer_->start(1000);
    refreshClock();
    focusBox(0);
}

bool ClockPage::eventFilter(QObject *watched, QEvent *event)
{
    // A box's line edit keeps Left and Right for its cursor (the window's keys never see them):
    // here they move between the boxes, as LEFT and RIGHT do.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Left || key == Qt::Key_Right) {
            buzzer(kKeyBeepMs);
            key == Qt::Key_Left ? previousBox() : nextBox();
            return true;
        }
    }
    if (event->type() == QEvent::FocusIn) {
        for (int i = 0; i < 6; ++i) {
            if (watched == boxes_[std::size_t(i)]) {
                focus_ = i;
                // Selected, so the digits typed replace the value instead of adding to it.
                QTimer::singleShot(0, boxes_[std::size_t(i)], &QAbstractSpinBox::selectAll);
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ClockPage::focusBox(int i)
{
    focus_ = qBound(0, i, 5);
    boxes_[std::size_t(focus_)]->setFocus();
    boxes_[std::size_t(focus_)]->selectAll();
}

void ClockPage::previousBox()
{
    focusBox(focus_ - 1);
}

void ClockPage::nextBox()
{
    focusBox(focus_ + 1);
}

void ClockPage::setClock()
{
    int v[6];
    for (int i = 0; i < 6; ++i) {
        boxes_[std::size_t(i)]->interpretText();
        v[i] = boxes_[std::size_t(i)]->value();
    }
    switch (ClockSetting::set(v[0], v[1], v[2], v[3], v[4], v[5])) {
    case ClockSetting::Done:
        refreshClock();
        break;
    case ClockSetting::OutOfRange:
        showMessage(this, QString::fromUtf8(ParamMessages::kOutOfRange));
        break;
    case ClockSetting::Failed:
        showMessage(this, tr("系统时间设置失败 !"));
        break;
    }
    focusBox(focus_);
}

void ClockPage::refreshClock()
{
    const QDateTime now = SystemActions::now();
    label_->setText(tr("控制器系统时间设置     当前时间 : %1").arg(now.toString(QStringLiteral("yyyy/M/d  HH:mm:ss"))));
}
