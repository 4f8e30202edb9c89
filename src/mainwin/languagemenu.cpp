#include "languagemenu.h"

#include "logic/mainwin/language.h"
#include "ui/buzzer.h"
#include "ui/listmenu.h"
#include "ui/operatordialogs.h"

#include <QEvent>
#include <QPushButton>
#include <QShortcut>

namespace {

// Marks the language the panel speaks; a mark, not a word, so it needs no translation.
const char *const kCurrentMark = "   \u25CF";

} // namespace

LanguageMenu::LanguageMenu(QWidget *parent)
    : ScreenFrame(parent, "languagemenu"), languages_(Translations::installed())
{
    menu_ = new ListMenu(this);
    menu_->setGeometry(0, 50, 640, 430);
    // One column of at most eight; a digit picks at once, as the item's number says.
    for (int i = 0; i < languages_.size() && i < ListMenu::kRows; ++i) {
        connect(new QShortcut(QKeySequence(Qt::Key_1 + i), this), &QShortcut::activated, this, [this, i] {
            buzzer(kKeyBeepMs);
            choose(i);
        });
    }
    connect(menu_, &MenuGrid::itemChosen, this, &LanguageMenu::chooseItem);
    retranslate();
    const int current = [this] {
        for (int i = 0; i < languages_.size(); ++i)
            if (languages_[i].code == Translations::current())
                return i;
        return 0;
    }();
    menu_->item(0, qMin(current, ListMenu::kRows - 1))->setFocus();
}

QString LanguageMenu::itemText(int index, const Translations::Installed &language)
{
    return QStringLiteral("%1.%2").arg(index + 1).arg(language.name);
}

void LanguageMenu::chooseItem(int column, int row)
{
    // The languages fill the first column, one a row.
    if (column == 0)
        choose(row);
}

void LanguageMenu::choose(int index)
{
    if (index >= languages_.size() || index >= ListMenu::kRows)
        return;
    const QString speaking = Translations::apply(languages_[index].code);
    QString why;
    if (!Language::save(speaking, &why))
        showMessage(this, tr("语言设置保存失败, 下次开机仍用原来的语言 !"));
    menu_->item(0, index)->setFocus();
}

void LanguageMenu::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    ScreenFrame::changeEvent(event);
}

void LanguageMenu::retranslate()
{
    setTitleLine(QStringLiteral("语言 / Language"));
    //: The language menu's help line; the digits are the items' numbers.
    setMessageLine(tr("按数字键选择语言, 按< X >退出."));
    for (int i = 0; i < languages_.size() && i < ListMenu::kRows; ++i) {
        const bool current = languages_[i].code == Translations::current();
        menu_->setItem(0, i, itemText(i, languages_[i]) + (current ? QString::fromUtf8(kCurrentMark) : QString()));
    }
}
