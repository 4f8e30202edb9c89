#include "cntedit.h"

#include "data/machinedata.h"
#include "logic/files/jobfolders.h"
#include "ui/beepingbutton.h"
#include "ui/operatordialogs.h"
#include "ui/panelfonts.h"
#include "ui/panelpalettes.h"
#include "ui/programeditorkeys.h"

#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace {

const char kConfirm[] = QT_TRANSLATE_NOOP("CntEdit", "确定要修改吗 ?");
constexpr int kPanelWidth = 60;

QFrame *boxFrame(QWidget *parent, const QRect &rect)
{
    auto *frame = new QFrame(parent);
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    frame->setGeometry(rect);
    return frame;
}

QLabel *label(QWidget *parent, const QString &text, const QRect &rect)
{
    auto *l = new QLabel(text, parent);
    l->setFont(PanelFonts::panel());
    l->setGeometry(rect);
    return l;
}

} // namespace

CntEdit::CntEdit(MachineData &machine, QWidget *parent, const char *name)
    : ScreenFrame(parent, name ? name : "CntEdit")
    , machine_(machine)
{
    setWindowTitle(QStringLiteral("Cnt File Browse Tools"));
    setTitleLine(QStringLiteral("Cnt File Browse Tools"));
    title_ = label(this, QString(), QRect(10, 50, 620, 22));
    title_->setObjectName(QStringLiteral("ltitleline"));
    buildFrames(this);

    const struct { const char *text; int key; void (CntEdit::*slot)(); } buttons[] = {
        {QT_TR_NOOP("M..查 找 行"), Qt::Key_M, &CntEdit::jumpToRow},  {QT_TR_NOOP("F7.最 前 行"), Qt::Key_G, &CntEdit::goFirstRow},
        {QT_TR_NOOP("F8.最 后 行"), Qt::Key_H, &CntEdit::goLastRow},      {QT_TR_NOOP("+/-系统交换"), Qt::Key_Minus, &CntEdit::exchangeSystems},
        {QT_TR_NOOP("Pu.上 一 行"), Qt::Key_PageUp, &CntEdit::goPreviousRow}, {QT_TR_NOOP("Pd.下 一 行"), Qt::Key_PageDown, &CntEdit::goNextRow},
        {QT_TR_NOOP(". .打开软键盘"), Qt::Key_Period, &CntEdit::openKeyPanel},
    };
    int x = 10;
    for (const auto &b : buttons) {
        auto *button = new BeepingButton(tr(b.text), this, "Bmenu");
        button->setGeometry(x, 435, 86, 40);
        button->setFont(PanelFonts::panel());
        button->setFocusPolicy(Qt::NoFocus);
        button->setPalette(PanelPalettes().buttonDark());
        button->setProperty("key", b.key);
        connect(button, &QPushButton::clicked, this, b.slot);
        buttons_.append(button);
        x += 90;
    }
    panel_ = new ProgramEditorKeys(this, "programeditorkeys");
    panel_->hide();
    connect(this, &CntEdit::panelCodeChanged, panel_, &ProgramEditorKeys::showKeysFor);
    connect(this, &ScreenFrame::clearRequested, this, &CntEdit::selectField);
    QTimer::singleShot(10, this, &CntEdit::reopenFile);
}

void CntEdit::openFile(MachineData &machine, const QString &path, QWidget *parent)
{
    auto *page = new CntEdit(machine, parent);
    page->setPath(path);
    page->exec();
    delete page;
}

QString CntEdit::livePath() const
{
    const QString &job = machine_.jobName();
    return job.isEmpty() ? QString() : JobFolders::file(job, QStringLiteral(".cnt"));
}

void CntEdit::buildFrames(QWidget *body)
{
    const QRect upper[2] = {QRect(10, 75, 305, 100), QRect(325, 75, 305, 100)};
    const QRect middle[2] = {QRect(10, 180, 305, 65), QRect(325, 180, 305, 65)};
    const QRect lower[2] = {QRect(10, 250, 305, 100), QRect(325, 250, 305, 100)};
    const QRect bottom[2] = {QRect(10, 355, 305, 70), QRect(325, 355, 305, 70)};
    const char *const blockLabels[] = {QT_TR_NOOP("花 板 行"), QT_TR_NOOP("A位选针"), QT_TR_NOOP("H位选针"), QT_TR_NOOP("A位指令"), QT_TR_NOOP("H位指令")};
    for (int side = 0; side < 2; ++side) {
        for (int half = 0; half < 2; ++half) {
            QFrame *frame = boxFrame(body, half == 0 ? upper[side] : lower[side]);
            const int g = half * 4;
            const int at[5][2] = {{g, side}, {g + 1, side * 2}, {g + 2, side * 2}, {g + 1, side * 2 + 1}, {g + 2, side * 2 + 1}};
            for (int k = 0; k < 5; ++k)
                addField(frame, at[k][0], at[k][1], tr(blockLabels[k]), QRect(4, 2 + 19 * k, 297, 18), 90);
        }
        QFrame *mid = boxFrame(body, middle[side]);
        systems_[std::size_t(side)] = label(mid, QString(), QRect(4, 2, 120, 18));
        for (int c = 0; c < 8; ++c) {
            auto *b = new BeepingButton(QString::number(c + 1), mid, "Bcarrier");
            b->setGeometry(4 + 37 * c, 21, 34, 20);
            b->setFocusPolicy(Qt::NoFocus);
            b->setAutoFillBackground(true);
            connect(b, &QPushButton::clicked, this, [this, side] { select(3, side * 2); });
            carriers_[std::size_t(side)][std::size_t(c)] = b;
        }
        addField(mid, 3, side * 2, QString(), QRect(130, 2, 170, 18), 0)->setReadOnly(true);
        addField(mid, 3, side * 2 + 1, side == 0 ? tr("度目组") : tr("类  型"), QRect(4, 43, 297, 18), 90);
        QFrame *bot = boxFrame(body, bottom[side]);
        const char *const bottomLabels[2][4] = {{QT_TR_NOOP("回    到"), QT_TR_NOOP("行<>循环"), QT_TR_NOOP("主 罗 拉"), QT_TR_NOOP("辅助罗拉")},
                                                 {QT_TR_NOOP("摇    床"), QT_TR_NOOP("开合罗拉"), QT_TR_NOOP("速    度"), QT_TR_NOOP("纱觜停放")}};
        const int bottomAt[2][4][2] = {{{7, 0}, {7, 1}, {8, 0}, {8, 1}}, {{7, 2}, {7, 3}, {8, 2}, {8, 3}}};
        for (int k = 0; k < 4; ++k)
            addField(bot, bottomAt[side][k][0], bottomAt[side][k][1], tr(bottomLabels[side][k]),
                     QRect(4 + 150 * (k % 2), 4 + 32 * (k / 2), 146, 28), 74);
    }
}

QLineEdit *CntEdit::addField(QWidget *frame, int group, int index, const QString &text, const QRect &rect, int labelWidth)
{
    if (labelWidth > 0)
        label(frame, text, QRect(rect.x(), rect.y(), labelWidth, rect.height()));
    auto *edit = new QLineEdit(frame);
    edit->setObjectName(QStringLiteral("field_%1_%2").arg(group).arg(index));
    edit->setFont(PanelFonts::edit());
    edit->setGeometry(rect.x() + labelWidth, rect.y(), rect.width() - labelWidth, rect.height());
    const int length = CntStore::maxLength(group, index);
    edit->setMaxLength(length > 0 ? length : 32);
    edit->installEventFilter(this);
    fields_[std::size_t(group)][std::size_t(index)] = edit;
    return edit;
}

void CntEdit::reopenFile()
{
    openProgram(path_);
}

bool CntEdit::openProgram(const QString &path)
{
    const QString live = livePath();
    const bool isLive = !live.isEmpty() && QFileInfo(path).absoluteFilePath() == QFileInfo(live).absoluteFilePath();
    switch (store_.load(path, isLive)) {
    case CntStore::OpenFailed:
        fail(tr("打开文件失败, 请重试 !"));
        return false;
    case CntStore::EmptyFile:
        fail(tr("该文件是空文件 !"));
        return false;
    case CntStore::Loaded:
        break;
    }
    editRow(1);
    return true;
}

void CntEdit::fail(const QString &message)
{
    for (BeepingButton *b : buttons_)
        b->setEnabled(false);
    showMessage(this, message);
    closing_ = true;
    QDialog::reject();
}

void CntEdit::editRow(int row)
{
    store_.setRow(row);
    const int r = store_.row();
    const bool even = r % 2 == 0;
    systems_[0]->setText(even ? tr("系    统  I") : tr("系    统  II"));
    systems_[1]->setText(even ? tr("系    统  II") : tr("系    统  I"));
    title_->setText(tr("  编织衣物动作文件浏览工具 - %1     第: %2  /  %3").arg(QFileInfo(path_).fileName()).arg(r).arg(store_.rows()));
    for (int g = 0; g < CntStore::kGroups; ++g) {
        for (int i = 0; i < CntStore::kIndices; ++i) {
            if (QLineEdit *edit = fields_[std::size_t(g)][std::size_t(i)])
                edit->setText(store_.text(g, i));
        }
    }
    selectField();
}

void CntEdit::selectField()
{
    QLineEdit *edit = fields_[std::size_t(group_)][std::size_t(index_)];
    edit->setText(store_.text(group_, index_));
    edit->selectAll();
    edit->setFocus();
    for (int side = 0; side < 2; ++side) {
        for (int c = 0; c < 8; ++c) {
            BeepingButton *b = carriers_[std::size_t(side)][std::size_t(c)];
            b->setPalette(store_.carrier(side, c) ? PanelPalettes().labelDark() : PanelPalettes().buttonDark());
            b->setProperty("set", store_.carrier(side, c));
        }
    }
    setMessageLine(store_.help(group_, index_));
}

void CntEdit::select(int group, int index)
{
    selectField();
    group_ = group;
    index_ = index;
    selectField();
}

void CntEdit::tell(const QString &message)
{
    if (!message.isEmpty())
        showMessage(this, message);
}

void CntEdit::messageEnterKey()
{
    if (!askYesNo(this, tr(kConfirm)))
        return selectField();
    const QString typed = fields_[std::size_t(group_)][std::size_t(index_)]->text();
    tell(store_.enter(group_, index_, typed));
    // On a refusal the field shows again what is stored, not what was typed.
    editRow(store_.row());
}

void CntEdit::toggle(int side, int carrier)
{
    if (!askYesNo(this, tr(kConfirm)))
        return;
    tell(store_.toggleCarrier(side, carrier));
    editRow(store_.row());
}

void CntEdit::toggleFirstStop(int carrier)
{
    toggle(0, carrier);
}

void CntEdit::toggleSecondStop(int carrier)
{
    toggle(1, carrier);
}

void CntEdit::exchangeSystems()
{
    if (!askYesNo(this, tr("确定要交换当前左右系统信息吗 ?")))
        return;
    tell(store_.exchange());
    editRow(store_.row());
}

void CntEdit::jumpToRow()
{
    const QString text = askText(this, tr("跳  行"), tr("请输入跳行行数"), 4);
    tell(store_.jump(text));
    editRow(store_.row());
}

void CntEdit::goFirstRow()
{
    editRow(1);
}

void CntEdit::goLastRow()
{
    editRow(store_.rows());
}

void CntEdit::goPreviousRow()
{
    if (store_.row() >= 2)
        editRow(store_.row() - 1);
}

void CntEdit::goNextRow()
{
    if (store_.row() < store_.rows())
        editRow(store_.row() + 1);
}

void CntEdit::openKeyPanel()
{
    placePanel();
    Q_EMIT panelCodeChanged(ProgramEditorKeys::fieldCode(group_, index_));
    fields_[std::size_t(group_)][std::size_t(index_)]->setFocus();
}

void CntEdit::placePanel()
{
    // The keys stand on the half of the screen away from the field they type into.
    const QWidget *edit = fields_[std::size_t(group_)][std::size_t(index_)];
    const bool fieldLeft = edit->mapTo(this, QPoint(0, 0)).x() < width() / 2;
    panel_->setGeometry(fieldLeft ? width() - kPanelWidth : 0, 45, kPanelWidth, 435);
    panel_->show();
    panel_->raise();
}

void CntEdit::reject()
{
    if (closing_)
        return QDialog::reject();
    closeEditor();
}

void CntEdit::closeEditor()
{
    if (store_.changed()) {
        if (!store_.save()) {
            showMessage(this, tr("保存动作文件失败 , 请重试 !"));
            // The edits stay on the page unless the operator gives them up.
            if (!askYesNo(this, tr("是否放弃修改 ?")))
                return;
        } else {
            showMessage(this, tr("文件保存完毕 !"));
            if (store_.live())
                machine_.setProgram(store_.buffer(), machine_.programRecords());
        }
    }
    closing_ = true;
    QDialog::reject();
}
