#include "carriagetestpage.h"

#include "motogroupview.h"

#include "data/defaultblocks.h"
#include "data/machinedata.h"
#include "data/protocol.h"
#include "logic/machinetests/controllertest.h"
#include "ui/automatictestkeys.h"
#include "ui/beepingbutton.h"
#include "ui/buzzer.h"
#include "ui/carriagetestkeys.h"
#include "ui/operatordialogs.h"
#include "ui/panelfonts.h"
#include "ui/panelpalettes.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

namespace {

constexpr int kGroupsWidth = 496;
constexpr int kBedTop = 48;
constexpr int kBedHeight = 162;
constexpr int kGuideHeight = 56;
// One key column: the selected element's keys, or the test menu while M shows it. Its labels
// ("选针器测试1") need the width.
constexpr int kColumnX = 500;
constexpr int kColumnTop = 45;
constexpr int kMenuButtonY = 440;
constexpr int kExtraBase = 52;

const char kMenuShown[] = QT_TRANSLATE_NOOP("CarriageTestPage", "M.关闭测试菜单");
const char kMenuHidden[] = QT_TRANSLATE_NOOP("CarriageTestPage", "M.打开测试菜单");
const char kCaption[] = QT_TRANSLATE_NOOP("CarriageTestPage", "其它信号");
const char kLeaving[] = QT_TRANSLATE_NOOP("CarriageTestPage", "正在退出机头测试界面, 请稍后 !");

// Where a group goes: one system stacks its two beds and its yarn guides; two systems put
// left and right side by side.
QRect groupRect(int group, int systems)
{
    const int row = group < 4 ? (group < 2 ? 0 : 1) : 2;
    const int top = row < 2 ? kBedTop + row * (kBedHeight + 2) : kBedTop + 2 * (kBedHeight + 2);
    const int height = row < 2 ? kBedHeight : kGuideHeight;
    if (systems == 1)
        return QRect(2, top, kGroupsWidth - 2, height);
    const int half = (kGroupsWidth - 4) / 2;
    return QRect(2 + (group % 2) * (half + 2), top, half, height);
}

} // namespace

CarriageTestPage::CarriageTestPage(MachineData &machine, QWidget *parent)
    : ScreenFrame(parent, "carriagetestpage")
    , machine_(machine)
    , controller_(new ControllerTest(Protocol::CarriageTest, this))
    , test_(countSystems(),
            [this](unsigned char type, unsigned char object, unsigned short value) {
                controller_->sendCommand(static_cast<unsigned short>(type | object << 8), value);
            })
    , timer_(new QTimer(this))
{
    controller_->setPlainTrace(true);
    build();
    connect(controller_, &ControllerTest::reportReceived, this, [this](const QByteArray &report) {
        if (test_.applyReport(reinterpret_cast<const unsigned char *>(report.constData())))
            showStates();
    });
    connect(controller_, &ControllerTest::closedByController, this, [this] {
        test_.stopCycle();
        timer_->stop();
        // A cycle's message still up belongs to the page that goes now.
        if (QWidget *box = QApplication::activeModalWidget(); box && box != this && isAncestorOf(box))
            box->close();
        done(QDialog::Accepted);
    });
    controller_->open();
    test_.load(machine_);
    showStates();
    connect(this, &CarriageTestPage::panelCodeChanged, panel_, &CarriageTestKeys::showKeysFor);
    showSelection();
    connect(timer_, &QTimer::timeout, this, &CarriageTestPage::onTick);
    // A coarse timer may run 5 % slow: a selector's cycle would lose a step a second.
    timer_->setTimerType(Qt::PreciseTimer);
    timer_->start(MotoTest::kTickMs);
}

void CarriageTestPage::build()
{
    setTitleLine(QStringLiteral("Machine Parts Test"));
    setFocusPolicy(Qt::StrongFocus);
    const int systems = countSystems() == 2 ? 2 : 1;
    for (int group = 0; group < MotoTest::kGroups; ++group) {
        auto *view = new MotoGroupView(group, this);
        view->setGeometry(groupRect(group, systems));
        view->setVisible(test_.groups().contains(group));
        connect(view, &MotoGroupView::touched, this, [this, group](int kind) { select(group, kind); });
        groups_.append(view);
    }

    auto *extras = new QFrame(this);
    extras->setGeometry(2, groupRect(4, systems).bottom() + 4, kGroupsWidth - 2, 480 - groupRect(4, systems).bottom() - 6);
    auto *row = new QHBoxLayout(extras);
    row->setContentsMargins(0, 0, 0, 0);
    caption_ = new QLabel(tr(kCaption), extras);
    caption_->setFont(PanelFonts::panel(12));
    row->addWidget(caption_);
    for (int i = 0; i < kExtraStates; ++i) {
        auto *b = new BeepingButton(QString::number(i + 1), extras, "extra");
        b->setFocusPolicy(Qt::NoFocus);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        b->setPalette(PanelPalettes().labelWhite());
        row->addWidget(b, 1);
        extras_.append(b);
    }

    const QRect column(kColumnX, kColumnTop, 640 - kColumnX, kMenuButtonY - kColumnTop - 4);
    sideMenu_ = new AutomaticTestKeys(this, "automatictestkeys");
    sideMenu_->setGeometry(column);
    sideMenu_->hide();
    panel_ = new CarriageTestKeys(this, "carriagetestkeys");
    panel_->setGeometry(column);
    menuButton_ = new BeepingButton(tr(kMenuHidden), this, "Bmenu");
    menuButton_->setGeometry(kColumnX, kMenuButtonY, 640 - kColumnX, 38);
    menuButton_->setFont(PanelFonts::panel(16));
    menuButton_->setFocusPolicy(Qt::NoFocus);
    connect(menuButton_, &QPushButton::clicked, this, &CarriageTestPage::toggleSideMenu);
}

void CarriageTestPage::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        caption_->setText(tr(kCaption));
        menuButton_->setText(tr(sideMenu_->isHidden() ? kMenuHidden : kMenuShown));
        setMessageLine(leaving_ ? tr(kLeaving) : test_.help());
    }
    ScreenFrame::changeEvent(event);
}

void CarriageTestPage::showEvent(QShowEvent *event)
{
    ScreenFrame::showEvent(event);
    setFocus();
}

MotoGroupView *CarriageTestPage::groupView(int group) const
{
    return groups_.value(group);
}

void CarriageTestPage::toggleSideMenu()
{
    const bool show = sideMenu_->isHidden();
    sideMenu_->setVisible(show);
    panel_->setVisible(!show);
    menuButton_->setText(tr(show ? kMenuShown : kMenuHidden));
}

void CarriageTestPage::select(int group, int kind)
{
    if (test_.select(group, kind))
        showSelection();
}

void CarriageTestPage::showSelection()
{
    if (MotoGroupView *old = groupView(shownGroup_))
        old->setSelected(shownKind_, false);
    shownGroup_ = test_.group();
    shownKind_ = test_.kind();
    groupView(shownGroup_)->setSelected(shownKind_, true);
    setMessageLine(test_.help());
    Q_EMIT panelCodeChanged(test_.testNumber());
}

void CarriageTestPage::showStates()
{
    for (MotoGroupView *view : groups_) {
        const int g = view->group();
        for (int kind = 0; kind < view->kinds(); ++kind) {
            const int object = MotoTest::objectOf(g, kind);
            const MotoTest::Element element = MotoTest::elementOf(g, kind);
            if (element == MotoTest::DensityMotor)
                view->setMotor(kind, test_.motorText(object));
            else
                view->setPattern(kind, test_.pattern(element, object));
        }
    }
}

void CarriageTestPage::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        buzzer(kKeyBeepMs);
        if (test_.move(key))
            showSelection();
        return;
    case Qt::Key_Enter:
    case Qt::Key_Return:
        buzzer(kKeyBeepMs);
        runCycle(0, tr("正在进行整组循环测试, 按< 确定 >取消测试 !"));
        return;
    case Qt::Key_M:
        buzzer(kKeyBeepMs);
        toggleSideMenu();
        return;
    case Qt::Key_Escape:
        ScreenFrame::keyPressEvent(event);
        return;
    default:
        break;
    }
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        buzzer(kKeyBeepMs);
        test_.digit(key - Qt::Key_0);
    } else if (key >= Qt::Key_A && key <= Qt::Key_E) {
        buzzer(kKeyBeepMs);
        runCycle(key - Qt::Key_A, tr("正在进行方式%1自动测试, 按< 确定 >取消测试 !").arg(key - Qt::Key_A + 1));
    } else if (key >= Qt::Key_F && key <= Qt::Key_H) {
        buzzer(kKeyBeepMs);
        runFrequency(key - Qt::Key_F);
    }
}

void CarriageTestPage::runCycle(int pattern, const QString &message)
{
    test_.startCycle(pattern);
    showMessage(this, message);
    test_.stopCycle();
}

void CarriageTestPage::runFrequency(int test)
{
    if (!test_.startFrequency(test))
        return;
    showMessage(this, tr("正在进行选针器测试(频率 = %1 Hz) , 按< 确定 >取消测试 !").arg(20 * (test + 1)));
    test_.stopFrequency();
}

void CarriageTestPage::reject()
{
    controller_->sendLeave();
    leaving_ = true;
    setMessageLine(tr(kLeaving));
    // Without the command port the controller's answer cannot arrive: nothing to wait for.
    if (!controller_->isBound()) {
        timer_->stop();
        done(QDialog::Rejected);
    }
}

void CarriageTestPage::onTick()
{
    test_.tick();
    for (int i = 0; i < kExtraStates; ++i)
        MotoGroupView::showState(extras_[i], machine_.carriageTest().byte(std::size_t(kExtraBase + i)) != 0);
}
