// The main screen's command keys: the numbered quick functions along the top, the picture keys
// along the bottom (whose look mirrors the running options of the controller state), the keypad
// keys that reach both, and the value fields that open the page setting them when touched.
#include "mainscreen.h"

#include "rowdisplay.h"

#include "data/machinedata.h"
#include "data/protocol.h"
#include "ui/panelfonts.h"
#include "ui/panelpalettes.h"
#include "ui/skinbutton.h"
#include "ui/touchlabel.h"

#include <QEvent>
#include <QKeyEvent>

namespace {

using Slot = void (MainScreen::*)();

struct QuickKey
{
    const char *text;
    int left; // -1: under the screen-lock button, reached by its key only
    Qt::Key key;
    Slot slot;
};

const QuickKey kQuickKeys[] = {
    {QT_TRANSLATE_NOOP("MainScreen", "1.编织参数"), 10, Qt::Key_1, &MainScreen::openWorkParams},
    {QT_TRANSLATE_NOOP("MainScreen", "2.常用参数"), 90, Qt::Key_2, &MainScreen::openFrequentSettings},
    {QT_TRANSLATE_NOOP("MainScreen", "3.文件操作"), 170, Qt::Key_3, &MainScreen::openFiles},
    {QT_TRANSLATE_NOOP("MainScreen", "4.其它参数"), 250, Qt::Key_4, &MainScreen::openYarnFeeders},
    {QT_TRANSLATE_NOOP("MainScreen", "5.片 展 开  "), -1, Qt::Key_5, &MainScreen::openPieceExpansion},
    {QT_TRANSLATE_NOOP("MainScreen", "6.测试工具"), 330, Qt::Key_6, &MainScreen::openTests},
    {QT_TRANSLATE_NOOP("MainScreen", "7.系统工具"), 410, Qt::Key_7, &MainScreen::openSystemTools},
    {QT_TRANSLATE_NOOP("MainScreen", "8.备      用"), -1, Qt::Key_8, &MainScreen::spareKey8},
    {QT_TRANSLATE_NOOP("MainScreen", "9.备      用"), -1, Qt::Key_9, &MainScreen::spareKey9},
    {QT_TRANSLATE_NOOP("MainScreen", "0.跳行调试"), 490, Qt::Key_0, &MainScreen::openRowSkip},
    {QT_TRANSLATE_NOOP("MainScreen", "罗拉正转"), -1, Qt::Key_Up, &MainScreen::turnRollersForward},
    {QT_TRANSLATE_NOOP("MainScreen", "罗拉反转"), -1, Qt::Key_Down, &MainScreen::turnRollersBackward},
};

struct PictureKey
{
    const char *text;
    int curByte; // -1: no option behind it
    int left;
    Qt::Key key;
    Slot slot;
};

// Left to right: zero, row lock, speed, piece, error disable, yarn carrier, stop reason, close.
const PictureKey kPictureKeys[] = {
    {QT_TRANSLATE_NOOP("MainScreen", "归零"), Protocol::RunningByte, 10, Qt::Key_A, &MainScreen::toggleZeroing},
    {QT_TRANSLATE_NOOP("MainScreen", "锁行"), Protocol::LockByte, 92, Qt::Key_B, &MainScreen::toggleRowLock},
    {QT_TRANSLATE_NOOP("MainScreen", "速度"), Protocol::SpeedByte, 174, Qt::Key_C, &MainScreen::toggleSpeed},
    {QT_TRANSLATE_NOOP("MainScreen", "件数"), Protocol::PieceByte, 256, Qt::Key_D, &MainScreen::togglePieces},
    {QT_TRANSLATE_NOOP("MainScreen", "报错"), Protocol::ErrorByte, 337, Qt::Key_E, &MainScreen::toggleErrorReports},
    {QT_TRANSLATE_NOOP("MainScreen", "纱嘴"), Protocol::CarrierByte, 419, Qt::Key_F, &MainScreen::toggleCarrierSwitch},
    {QT_TRANSLATE_NOOP("MainScreen", "原因"), -1, 501, Qt::Key_G, &MainScreen::askStopReason},
    {QT_TRANSLATE_NOOP("MainScreen", "关机"), -1, 583, Qt::Key_H, &MainScreen::askShutdown},
};

} // namespace

void MainScreen::createQuickKeys()
{
    for (const PictureKey &p : kPictureKeys) {
        auto *key = new SkinButton(QString(), this);
        key->setObjectName(QStringLiteral("picturekey%1").arg(pictureKeys_.size() + 1));
        connect(key, &QPushButton::released, this, p.slot);
        pictureKeys_.append(key);
    }
    for (const QuickKey &q : kQuickKeys) {
        auto *label = new TouchLabel(this, "quickkey");
        label->setPalette(PanelPalettes().labelWhite());
        label->setAutoFillBackground(true);
        label->setFrameStyle(QFrame::Panel | QFrame::Raised);
        label->setAlignment(Qt::AlignCenter);
        label->setFont(PanelFonts::panel(12));
        connect(label, &TouchLabel::released, this, q.slot);
        quickKeys_.append(label);
    }

    // Fields that open the page which sets them.
    connect(rowDisplay_, &RowDisplay::densityTouched, this, &MainScreen::openDensityParams);
    connect(rowDisplay_, &RowDisplay::speedTouched, this, &MainScreen::openSpeedParams);
    connect(rowDisplay_, &RowDisplay::rollerTouched, this, &MainScreen::openRollerParams);
    connect(rowDisplay_, &RowDisplay::parkingTouched, this, &MainScreen::openCarrierParams);
    connect(rowDisplay_, &RowDisplay::carrierTouched, this, &MainScreen::openOtherParams);
    connect(rowDisplay_, &RowDisplay::rowNumberTouched, this, &MainScreen::openRowSkip);
    for (TouchLabel *l : {pieces_, startNeedle_})
        connect(l, &TouchLabel::released, this, &MainScreen::openFrequentSettings);
    for (TouchLabel *l : {jobName_, jobSize_})
        connect(l, &TouchLabel::released, this, &MainScreen::openFiles);

    retranslateKeys();
    showMoreKeys();
    paintQuickKeys();
}

void MainScreen::retranslateKeys()
{
    for (int i = 0; i < pictureKeys_.size(); ++i)
        pictureKeys_[i]->setText(tr(kPictureKeys[i].text));
    for (int i = 0; i < quickKeys_.size(); ++i)
        quickKeys_[i]->setText(tr(kQuickKeys[i].text));
}

void MainScreen::changeEvent(QEvent *event)
{
    // The screen is built once: a language switch relabels it in place and repaints the
    // job's fields from the values they show.
    if (event->type() == QEvent::LanguageChange) {
        retranslateKeys();
        // Bmenu is built last: before it, the fields below are not all there yet.
        if (Bmenu) {
            rowDisplay_->retranslate();
            paintLockButton();
            showReason();
            if (machineData_.jobName().isEmpty())
                paintNoJob();
            else
                paintJob(machineData_.jobName());
        }
    }
    QWidget::changeEvent(event);
}

void MainScreen::showMoreKeys()
{
    for (int i = 0; i < pictureKeys_.size(); ++i)
        pictureKeys_[i]->setGeometry(kPictureKeys[i].left, 422, 48, 48);
    for (int i = 0; i < quickKeys_.size(); ++i) {
        TouchLabel *label = quickKeys_[i];
        if (kQuickKeys[i].left >= 0) {
            label->setGeometry(kQuickKeys[i].left, 10, 65, 35);
            if (!commandLabels_.contains(label))
                commandLabels_.append(label);
        } else {
            // Under the screen-lock button, which unlocked covers only x 580-629: hidden, so
            // neither an edge of them shows nor a touch on the bare strip reaches them; their
            // keys reach them all the same.
            label->setGeometry(570, 10, 60, 35);
            label->hide();
        }
    }
}

void MainScreen::paintQuickKeys()
{
    for (int i = 0; i < pictureKeys_.size(); ++i) {
        const int byte = kPictureKeys[i].curByte;
        // The reason key is lit while a reason given for the stop stands.
        const bool active = byte >= 0 ? machineData_.controllerState().byte(std::size_t(byte)) != 0
                                      : kPictureKeys[i].key == Qt::Key_G && stopAsking_.given().has_value();
        pictureKeys_[i]->setActive(active);
    }
}

void MainScreen::keyPressEvent(QKeyEvent *event)
{
    // The keys act at once, in either case and whether the screen is locked or not.
    const int key = event->key();
    for (const QuickKey &q : kQuickKeys) {
        if (q.key == key) {
            (this->*q.slot)();
            return;
        }
    }
    for (const PictureKey &p : kPictureKeys) {
        if (p.key == key) {
            (this->*p.slot)();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}
