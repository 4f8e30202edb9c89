// The main screen's widgets, the counters they show and the screen lock.
#include "mainscreen.h"

#include "buttonwarm.h"
#include "labelmessage.h"
#include "labeltime.h"
#include "rowdisplay.h"
#include "startpicture.h"

#include "data/machinedata.h"
#include "data/protocol.h"
#include "logic/mainwin/translations.h"
#include "platform/panelpaths.h"
#include "telemetry/telemetry.h"
#include "ui/beepingbutton.h"
#include "ui/layoutaudit.h"
#include "ui/panelfonts.h"
#include "ui/panelpalettes.h"
#include "ui/pattopicture.h"
#include "ui/touchlabel.h"

#include <QFrame>
#include <QLabel>
#include <QShortcut>

namespace {

// The panel's rectangles are given as inclusive corners.
QRect box(int left, int top, int right, int bottom)
{
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

// Time of day s seconds after midnight, two digits each.
QString timeText(unsigned short s)
{
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600, 2, 10, QLatin1Char('0'))
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

QFont boldPanel(int points)
{
    QFont f = PanelFonts::panel(points);
    f.setBold(true);
    return f;
}

// The message line and alarm button are placed once from the origin the window has when built.
constexpr int kBuildOriginY = 122;

const char kLockText[] = QT_TRANSLATE_NOOP("MainScreen", "<< 锁屏");
//: The whole top line while the screen is locked (620 px).
const char kUnlockText[] = QT_TRANSLATE_NOOP("MainScreen", "点   击   此   处,   取   消   锁   屏   >>");

} // namespace

void MainScreen::createDesktop()
{
    // In this order: each part stacks over the ones made before it.
    const PanelPalettes palettes;
    createBands(palettes);
    createCounters(palettes);
    createDesktopPicture();
    createRunningKey(palettes);
    createQuickKeys();
    createMessageBand(palettes);
    createLockButton();

    toggleScreenLock();
}

void MainScreen::createBands(const PanelPalettes &palettes)
{
    auto decoration = [this](const QRect &r, const QPalette &p) {
        auto *l = new QLabel(this);
        l->setGeometry(r);
        l->setPalette(p);
        l->setAutoFillBackground(true);
    };
    decoration(box(0, 0, 639, 479), palettes.labelDark());
    decoration(box(0, 10, 639, 44), palettes.labelBack());
    decoration(box(10, 9, 629, 9), palettes.labelWhite());
    decoration(box(0, 45, 639, 45), palettes.labelWhite());
    decoration(box(0, 360, 639, 469), palettes.labelBack());
    decoration(box(0, 421, 639, 421), palettes.labelWhite());
    decoration(box(10, 470, 629, 470), palettes.labelWhite());
}

void MainScreen::createCounters(const PanelPalettes &palettes)
{
    auto field = [this](const char *name, const QRect &r, const QString &text, const QPalette &p, bool clickable) {
        auto *l = new TouchLabel(this, name);
        l->setGeometry(r);
        l->setText(text);
        l->setPalette(p);
        l->setAutoFillBackground(true);
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        (clickable ? commandLabels_ : displayLabels_).append(l);
        return l;
    };
    const QString zeroTimes = QStringLiteral("00:00:00 / 00:00:00");
    knitTime_ = field("knittime", box(10, 55, 200, 80), zeroTimes, palettes.labelText(), false);
    stopTime_ = field("stoptime", box(200, 55, 390, 80), zeroTimes, palettes.labelText(), false);
    pieces_ = field("pieces", box(390, 55, 540, 80), QStringLiteral("0 / 0"), palettes.labelText(), true);
    startNeedle_ = field("startneedle", box(540, 55, 630, 80), QStringLiteral("0 "), palettes.labelText(), true);

    rowDisplay_ = new RowDisplay(machineData_, this);
    for (TouchLabel *l : rowDisplay_->touchLabels())
        commandLabels_.append(l);
    rowNumber_ = rowDisplay_->rowNumber();
    patPicture_ = new PatToPicture(this, "PatToPicture");
    patPicture_->setGeometry(box(320, 85, 630, 295));
    patPicture_->hide();
    rowDisplay_->setPicture(patPicture_);

    needle_ = new QLabel(this);
    needle_->setObjectName(QStringLiteral("needle"));
    needle_->setGeometry(box(95, 370, 215, 385));
    needle_->setFont(boldPanel(12));
    needle_->setPalette(palettes.labelWhite());
    needle_->setAlignment(Qt::AlignCenter);
    needle_->setText(QStringLiteral("888"));
    jobName_ = field("jobname", box(320, 365, 550, 390), QString(), palettes.labelWhite(), true);
    jobSize_ = field("jobsize", box(320, 390, 550, 415), tr("衣物宽度: 0 "), palettes.labelWhite(), true);

    labelTime_ = new LabelTime(this, "LabelTime");
    labelTime_->setGeometry(box(550, 390, 630, 415));
    labelTime_->setFont(boldPanel(14));
    labelTime_->setAlignment(Qt::AlignCenter);
}

void MainScreen::createDesktopPicture()
{
    desktop_ = new StartPicture(this);
    desktop_->setObjectName(QStringLiteral("desktop"));
    desktop_->setGeometry(box(10, 55, 630, 350));
    const int picture = machineData_.panelSettings().word(Protocol::DesktopWord);
    setDesktopPicture(PanelPaths::data(QStringLiteral("/image/desktop/")) + QString::number(picture) + QStringLiteral(".bmp"));
    QStringList languages;
    for (const Translations::Installed &language : Translations::installed())
        languages.append(language.name);
    desktop_->setLanguages(languages);
    connect(desktop_->languageTarget(), &TouchLabel::released, this, &MainScreen::spareKey8);
    commandLabels_.append(desktop_->languageTarget());
}

void MainScreen::createRunningKey(const PanelPalettes &palettes)
{
    auto *runningBox = new QFrame(this);
    runningBox->setFrameStyle(QFrame::Panel | QFrame::Raised);
    runningBox->setGeometry(box(550, 365, 630, 390));
    auto *running = new TouchLabel(this, "running");
    running->setGeometry(box(550, 365, 630, 390));
    running->setText(QStringLiteral("PL.WK"));
    running->setFont(boldPanel(20));
    running->setAlignment(Qt::AlignCenter);
    running->setPalette(palettes.labelWhite());
    running->setAutoFillBackground(true);
    connect(running, &TouchLabel::released, this, &MainScreen::updateDesktop);
    commandLabels_.append(running);
    running_ = running;
    auto *desktopKey = new QShortcut(QKeySequence(Qt::Key_M), this);
    connect(desktopKey, &QShortcut::activated, this, &MainScreen::updateDesktop);
}

void MainScreen::createMessageBand(const PanelPalettes &palettes)
{
    labelMessage_ = new LabelMessage(this, "LabelMessage");
    labelMessage_->setGeometry(box(10, kBuildOriginY + 155, 629, kBuildOriginY + 204));
    labelMessage_->setPalette(palettes.labelText());
    labelMessage_->setAutoFillBackground(true);
    labelMessage_->setFont(boldPanel(16));
    buttonWarm_ = new ButtonWarm(*beep_, this, "ButtonWarm");
    buttonWarm_->setGeometry(box(10, kBuildOriginY + 215, 629, kBuildOriginY + 264));
    buttonWarm_->setFont(boldPanel(20));
    buttonWarm_->setProperty(LayoutAudit::kOverlays, true); // shown, it covers the bottom band's top
    connect(buttonWarm_, &QAbstractButton::released, this, &MainScreen::cancelWarning);
    // The screen's two buttons are touched, never focused: a focused button would take the
    // first arrow key to move the focus on, and Up and Down belong to the rollers.
    buttonWarm_->setFocusPolicy(Qt::NoFocus);
}

void MainScreen::createLockButton()
{
    Bmenu = new BeepingButton(this);
    Bmenu->setObjectName(QStringLiteral("Bmenu"));
    Bmenu->setFlat(true);
    // Opaque, so the quick keys reached by their key only stay hidden underneath it.
    Bmenu->setAutoFillBackground(true);
    paintLockButton();
    Bmenu->setFont(boldPanel(14));
    Bmenu->setGeometry(box(570, 10, 629, 44));
    Bmenu->setFocusPolicy(Qt::NoFocus);
    connect(Bmenu, &QAbstractButton::released, this, &MainScreen::toggleScreenLock);
}

void MainScreen::placeMessage(int systems, int picture)
{
    if (!knitTime_)
        return;
    knitTime_->setGeometry(box(10, 55, 200, 80));
    stopTime_->setGeometry(box(200, 55, 390, 80));
    pieces_->setGeometry(box(390, 55, 540, 80));
    startNeedle_->setGeometry(box(540, 55, 630, 80));
    rowDisplay_->place(systems, picture);
}

void MainScreen::paintNeedle(unsigned short)
{
    // The stored value, not the argument: the needle position plus 500.
    shownNeedle_ = machineData_.controllerState().word(Protocol::NeedleWord);
    needle_->setText(QString::number(int(shownNeedle_) - Protocol::NeedleZero));
}

void MainScreen::setSpeed(int state)
{
    if (machine_.setSpeedState(state))
        showMachineState();
}

void MainScreen::setOffline(bool offline)
{
    if (machine_.setOffline(offline))
        showMachineState();
}

void MainScreen::showMachineState()
{
    const MachineState::Kind kind = machine_.kind();
    // Stopped and not yet known look as built; offline is the window's own dark look.
    const PanelPalettes palettes;
    running_->setPalette(kind == MachineState::Kind::Knitting  ? palettes.labelText()
                         : kind == MachineState::Kind::Offline ? palettes.labelDark()
                                                               : palettes.labelWhite());
    desktop_->setState(kind);
    followStop();
    if (telemetry_)
        telemetry_->publishNow();
}

void MainScreen::paintKnitTime(unsigned short first, unsigned short second)
{
    knittingSeconds_ = second;
    knitTime_->setText(tr("编织时间 : %1 / %2").arg(timeText(first), timeText(second)));
}

void MainScreen::paintStopTime(unsigned short first, unsigned short second)
{
    stoppedSeconds_ = second;
    stopTime_->setText(tr("停车时间 : %1 / %2").arg(timeText(first), timeText(second)));
}

void MainScreen::paintPieces(unsigned short done, unsigned short target)
{
    pieces_->setText(tr("完成件数 : %1 / %2").arg(done).arg(target));
}

void MainScreen::paintStartNeedle(unsigned short needle)
{
    startNeedle_->setText(tr("起始针 : %1").arg(needle));
}

void MainScreen::paintLockButton()
{
    Bmenu->setText(tr(screenLocked_ ? kUnlockText : kLockText));
}

void MainScreen::toggleScreenLock()
{
    // The button shows "<< 锁屏" while the screen is open: pressed, it locks.
    const bool lock = !screenLocked_;
    screenLocked_ = lock;
    if (lock) {
        Bmenu->setGeometry(box(10, 10, 629, 44));
    } else {
        Bmenu->setGeometry(box(580, 10, 629, 44));
    }
    paintLockButton();
    Bmenu->raise();
    for (TouchLabel *l : commandLabels_)
        l->setClickable(lock ? 0 : 1);
    for (TouchLabel *l : displayLabels_)
        l->setClickable(0);
}
