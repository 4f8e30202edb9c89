#include "rackingpositiondialog.h"

#include "data/machinedata.h"
#include "data/protocol.h"
#include "data/rackingvalue.h"
#include "logic/controller/controllercommands.h"
#include "logic/params/parammessages.h"
#include "ui/beepingbutton.h"
#include "ui/buzzer.h"
#include "ui/celledit.h"
#include "ui/operatordialogs.h"
#include "ui/panelfonts.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

RackingPositionDialog::RackingPositionDialog(MachineData &machine, const QString &title, QWidget *parent, int column, int row)
    : ScreenFrame(parent, "rackingpositiondialog")
    , machine_(machine)
    , column_(column)
    , row_(row)
{
    setTitleLine(title);
    setMessageLine(tr("粗调范围 : -99  -  99   微调范围 : 0  -  9  "));
    auto *area = new QWidget(this);
    area->setGeometry(120, 120, 400, 200);
    auto *grid = new QGridLayout(area);
    const QString names[2] = {tr("粗调值"), tr("微调值")};
    for (int i = 0; i < 2; ++i) {
        grid->addWidget(new QLabel(names[i], area), 0, i);
        edits_[i] = new CellEdit(area, i == 0 ? "coarse" : "fine");
        edits_[i]->setMaxLength(4);
        edits_[i]->installEventFilter(this);
        grid->addWidget(edits_[i], 1, i);
    }
    const QString steps[2] = {tr("粗调值 +1"), tr("粗调值 -1")};
    for (int i = 0; i < 2; ++i) {
        auto *button = new BeepingButton(steps[i], area, i == 0 ? "Badd" : "Bminus");
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoDefault(false);
        button->setMinimumHeight(40);
        grid->addWidget(button, 2, i);
        connect(button, &QPushButton::clicked, this, i == 0 ? &RackingPositionDialog::stepUp : &RackingPositionDialog::stepDown);
    }
    area->setFont(PanelFonts::panel(16));
}

unsigned short RackingPositionDialog::stored() const
{
    return machine_.system().word(std::size_t(RackingValue::word(column_, row_)));
}

void RackingPositionDialog::setEditors(unsigned short value, int mask)
{
    if (mask & 1)
        edits_[0]->setText(RackingValue::coarseText(value));
    if (mask & 2)
        edits_[1]->setText(QString::number(RackingValue::fine(value)));
}

void RackingPositionDialog::focusEdit(int index)
{
    current_ = index;
    edits_[index]->setFocus(Qt::OtherFocusReason);
    edits_[index]->selectAll();
}

void RackingPositionDialog::showEvent(QShowEvent *event)
{
    ScreenFrame::showEvent(event);
    QTimer::singleShot(0, this, [this] {
        setEditors(stored(), 3);
        focusEdit(0);
    });
}

void RackingPositionDialog::enterKey(int step)
{
    unsigned short value = 0;
    if (RackingValue::encode(edits_[0]->text(), edits_[1]->text(), step, &value) != RackingValue::Ok) {
        showMessage(this, ParamMessages::text(ParamMessages::kOutOfRange));
        setEditors(stored(), 3);
        focusEdit(0);
        return;
    }
    const auto index = static_cast<unsigned short>(RackingValue::index(column_, row_));
    if (ControllerCommands::sendLong(Protocol::SetCommand, Protocol::RackingGroup, index, value))
        machine_.system().setWord(std::size_t(RackingValue::word(column_, row_)), value);
    else
        showMessage(this, tr("参数设置失败,通信错误 !"));
    setEditors(stored(), 3);
    focusEdit(1);
}

bool RackingPositionDialog::keyPress(QKeyEvent *event)
{
    const int key = event->key();
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
        buzzer(kKeyBeepMs);
        setEditors(stored(), current_ == 0 ? 1 : 2);
        focusEdit(key == Qt::Key_Left ? 0 : 1);
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
        // The keypad's way to the two step buttons.
        buzzer(kKeyBeepMs);
        enterKey(key == Qt::Key_Up ? 1 : -1);
        return true;
    case Qt::Key_Enter:
    case Qt::Key_Return:
        buzzer(kKeyBeepMs);
        enterKey(0);
        return true;
    case Qt::Key_Backspace:
        buzzer(kKeyBeepMs);
        setEditors(stored(), current_ == 0 ? 1 : 2);
        focusEdit(current_);
        return true;
    case Qt::Key_Escape:
    case Qt::Key_Minus:
        return false;
    default:
        return !(key >= Qt::Key_0 && key <= Qt::Key_9);
    }
}

bool RackingPositionDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == edits_[0] || watched == edits_[1]) {
        if (event->type() == QEvent::KeyPress)
            return keyPress(static_cast<QKeyEvent *>(event));
        if (event->type() == QEvent::FocusIn)
            current_ = watched == edits_[0] ? 0 : 1;
    }
    return ScreenFrame::eventFilter(watched, event);
}
