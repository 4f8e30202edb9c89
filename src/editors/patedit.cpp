#include "patedit.h"

#include "patlabel.h"

#include "data/machinedata.h"
#include "logic/files/jobfolders.h"
#include "ui/beepingbutton.h"
#include "ui/buzzer.h"
#include "ui/operatordialogs.h"
#include "ui/panelfonts.h"
#include "ui/panelpalettes.h"

#include <QComboBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTimer>

#include <functional>

namespace {

constexpr int kCellWidth = 10;
constexpr int kCellHeight = 12;

} // namespace

PatEdit::PatEdit(const MachineData &machine, const QString &path, QWidget *parent, const char *name)
    : ScreenFrame(parent, name ? name : "PatEdit")
    , context_(new PatLabel(this, "context"))
    , value_(new QComboBox(this))
    , path_(path)
{
    setWindowTitle(QStringLiteral("Pat File Browse Tools"));
    setTitleLine(QStringLiteral("Pat File Browse Tools"));
    context_->setGeometry(15, 55, 610, 360);
    value_->setObjectName(QStringLiteral("value"));
    value_->setFont(PanelFonts::panel(16));
    value_->setFocusPolicy(Qt::NoFocus);
    for (int v = 0; v < 16; ++v)
        value_->addItem(QString::number(v, 16).toUpper());
    value_->setGeometry(566, 420, 64, 56);

    const struct { const char *text; std::function<void()> action; } buttons[] = {
        {QT_TR_NOOP("F1.查找行"), [this] { findRow(); }},
        {QT_TR_NOOP("F2.查找列"), [this] { findColumn(); }},
        {QT_TR_NOOP("M.整行修改"), [this] { changeWholeGroup(); }},
        {QT_TR_NOOP("确  定"), [this] { enterFocused(); }},
        {QT_TR_NOOP("左翻页"), [this] { context_->direct(PatGrid::PageLeft); }},
        {QT_TR_NOOP("右翻页"), [this] { context_->direct(PatGrid::PageRight); }},
        {QT_TR_NOOP("上翻页"), [this] { context_->direct(PatGrid::PageHigher); }},
        {QT_TR_NOOP("下翻页"), [this] { context_->direct(PatGrid::PageLower); }},
        {QT_TR_NOOP("左"), [this] { context_->direct(PatGrid::Left); }},
        {QT_TR_NOOP("右"), [this] { context_->direct(PatGrid::Right); }},
        {QT_TR_NOOP("上"), [this] { context_->direct(PatGrid::Up); }},
        {QT_TR_NOOP("下"), [this] { context_->direct(PatGrid::Down); }},
    };
    int k = 0;
    for (const auto &b : buttons) {
        auto *button = new BeepingButton(tr(b.text), this, "Bmenu");
        button->setGeometry(10 + 92 * (k % 6), 420 + 29 * (k / 6), 88, 27);
        button->setFont(PanelFonts::panel());
        button->setFocusPolicy(Qt::NoFocus);
        button->setPalette(PanelPalettes().buttonDark());
        connect(button, &QPushButton::clicked, this, b.action);
        ++k;
    }
    connect(context_, &PatLabel::cellChanged, this, &PatEdit::showPosition);
    // The current job's pattern, the one the controller holds.
    const QString &job = machine.jobName();
    const QString live = job.isEmpty() ? QString() : JobFolders::file(job, QStringLiteral(".pat"));
    if (context_->loadPattern(path, kCellWidth, kCellHeight)) {
        live_ = !live.isEmpty() && QFileInfo(path).absoluteFilePath() == QFileInfo(live).absoluteFilePath();
        context_->setFocus();
    } else {
        QTimer::singleShot(100, this, [this] {
            showMessage(this, tr("打开文件失败, 请重试 !"));
            closing_ = true;
            QDialog::reject();
        });
    }
}

void PatEdit::openFile(const MachineData &machine, const QString &path, QWidget *parent)
{
    auto *page = new PatEdit(machine, path, parent);
    page->exec();
    delete page;
}

void PatEdit::showPosition(int line, int column, unsigned char)
{
    setMessageLine(tr("编织衣物花样文件浏览工具 - %1     行 %2 , 列 %3").arg(QFileInfo(path_).fileName()).arg(line).arg(column));
}

void PatEdit::tell(const QString &message)
{
    if (!message.isEmpty())
        showMessage(this, message);
}

void PatEdit::findRow()
{
    bool ok = false;
    const unsigned n = askText(this, tr("F1.查找行"), tr("请输入行数"), 5).toUInt(&ok);
    if (ok)
        context_->findLine(n);
}

void PatEdit::findColumn()
{
    bool ok = false;
    const unsigned n = askText(this, tr("F2.查找列"), tr("请输入列数"), 5).toUInt(&ok);
    if (ok)
        context_->findColumn(n);
}

void PatEdit::changeWholeGroup()
{
    if (!askYesNo(this, tr("确定要整组修改当前数值吗?")))
        return;
    tell(context_->fillLine(static_cast<unsigned char>(value_->currentIndex()), live_));
    changed_ = true;
}

void PatEdit::enterFocused()
{
    context_->setByte(static_cast<unsigned char>(value_->currentIndex()));
    context_->scheduleRedraw();
    tell(context_->enterByte(live_));
    changed_ = true;
}

void PatEdit::reject()
{
    if (closing_)
        return QDialog::reject();
    closePage();
}

void PatEdit::closePage()
{
    if (changed_ && !context_->savePattern()) {
        showMessage(this, tr("保存花样文件失败 , 请重试 !"));
        // The edits stay on the page unless the operator gives them up.
        if (!askYesNo(this, tr("是否放弃修改 ?")))
            return;
    }
    closing_ = true;
    QDialog::reject();
}

void PatEdit::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    static const struct { int key; int code; } moves[] = {
        {Qt::Key_Left, PatGrid::Left},          {Qt::Key_Right, PatGrid::Right},   {Qt::Key_Up, PatGrid::Up},
        {Qt::Key_Down, PatGrid::Down},          {Qt::Key_PageUp, PatGrid::PageLower},
        {Qt::Key_PageDown, PatGrid::PageHigher}, {Qt::Key_L, PatGrid::PageLeft},   {Qt::Key_R, PatGrid::PageRight},
    };
    for (const auto &m : moves) {
        if (m.key == key) {
            buzzer(kKeyBeepMs);
            return context_->direct(m.code);
        }
    }
    int value = -1;
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        value = key - Qt::Key_0;
    else if (key >= Qt::Key_A && key <= Qt::Key_F)
        value = 10 + key - Qt::Key_A;
    if (value >= 0) {
        buzzer(kKeyBeepMs);
        return value_->setCurrentIndex(value);
    }
    const struct { int key; void (PatEdit::*slot)(); } actions[] = {
        {Qt::Key_F1, &PatEdit::findRow}, {Qt::Key_F2, &PatEdit::findColumn},
        {Qt::Key_M, &PatEdit::changeWholeGroup},     {Qt::Key_Enter, &PatEdit::enterFocused},
        {Qt::Key_Return, &PatEdit::enterFocused},
    };
    for (const auto &a : actions) {
        if (a.key == key) {
            buzzer(kKeyBeepMs);
            return (this->*a.slot)();
        }
    }
    ScreenFrame::keyPressEvent(event);
}
