#include "stopreasondialog.h"

#include "logic/mainwin/translations.h"
#include "ui/buzzer.h"
#include "ui/listmenu.h"

#include <QEvent>
#include <QPushButton>
#include <QShortcut>

namespace {

constexpr int kRowsUsed = 5;

// Codes 1 to 9 and then 0, down the first column and on down the second: as on the keypad.
int slotOf(int code)
{
    return code == 0 ? 9 : code - 1;
}

int codeAt(int slot)
{
    return slot == 9 ? 0 : slot + 1;
}

} // namespace

StopReasonDialog::StopReasonDialog(const ReasonList &list, QWidget *parent)
    : ScreenFrame(parent, "StopReasonDialog"), list_(list)
{
    menu_ = new ListMenu(this);
    menu_->setGeometry(0, 50, 640, 430);
    for (int code = 0; code <= 9; ++code) {
        connect(new QShortcut(QKeySequence(Qt::Key_0 + code), this), &QShortcut::activated, this, [this, code] {
            buzzer(kKeyBeepMs);
            pick(code);
        });
    }
    connect(menu_, &MenuGrid::itemChosen, this, [this](int column, int row) {
        if (row < kRowsUsed)
            pick(codeAt(column * kRowsUsed + row));
    });
    retranslate();
    const QList<ReasonList::Reason> &reasons = list_.reasons();
    const int first = reasons.isEmpty() ? 0 : slotOf(reasons.first().code);
    menu_->item(first / kRowsUsed, first % kRowsUsed)->setFocus();
}

void StopReasonDialog::pick(int code)
{
    if (!list_.find(code))
        return;
    Q_EMIT picked(code);
    accept();
}

void StopReasonDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    ScreenFrame::changeEvent(event);
}

void StopReasonDialog::retranslate()
{
    setTitleLine(tr("停机原因"));
    //: The stop reason dialog's help line; the digits are the reasons' codes.
    setMessageLine(tr("按数字键选择停机原因, 按< X >不填."));
    const bool chinese = Translations::current().startsWith(QLatin1String("zh"));
    for (const ReasonList::Reason &r : list_.reasons()) {
        const int at = slotOf(r.code);
        menu_->setItem(at / kRowsUsed, at % kRowsUsed, QStringLiteral("%1.%2").arg(r.code).arg(chinese ? r.zh : r.en));
    }
}
