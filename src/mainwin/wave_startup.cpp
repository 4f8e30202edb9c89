#include "wave.h"

#include "data/configini.h"
#include "data/mouthspeedtable.h"
#include "data/parafiles.h"
#include "data/parablocks.h"
#include "data/parainit.h"
#include "data/saveleftovers.h"
#include "logic/jobfolders.h"
#include "logic/stickjobimport.h"
#include "link/commands.h"
#include "params/checkpara.h"
#include "telemetry/telemetry.h"
#include "platform/panelpaths.h"
#include "ui/buzzer.h"
#include "ui/palettes.h"

#include <QApplication>
#include <QShowEvent>
#include <QTimer>

wave::wave(QWidget *parent, const char *name, Qt::WindowFlags flags)
    : QWidget(parent, flags)
    , history_(std::make_unique<MachineHistory>())
{
    setObjectName(name ? QString::fromLatin1(name) : QStringLiteral("wave"));
    checkresult = 0;
    const QSize hint = minimumSizeHint();
    resize(qMax(640, hint.width()), qMax(480, hint.height()));
    PanelPaths::ensureLayout();
    SaveLeftovers::clear();
    StickJobImport::recover(JobFolders::root());

    read_config_ini();
    init_system_color();
    QApplication::setPalette(palette_label_white);
    setPalette(palette_label_dark);
    buzzer_init();
    initpara();
    wave_read_management();
    wave_start_system();
    wave_create_desktopinfor();
    wave_slot_drawmessagepos(1, 0);
    open_wavefile(strcurfilename);
    setparacom(0x20, para_cur.byte(26), 0, 0);
    setparacom(0x26, 0x21, 0, 0);
    wave_create_syncinfor();
    wave_create_telemetry();
    setFocusPolicy(Qt::StrongFocus);
}

wave::~wave()
{
    if (telemetry_)
        history_->removeObserver(telemetry_.get());
}

void wave::initpara()
{
    initworkparam();
    initsystemparam();
    initelseparam();
    // The carrier table's corrections are the panel's own: kept from the last run, not rebuilt.
    MouthSpeedTable::load();
}

void wave::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The panel is the only program on its screen: take the keyboard, with or without a
    // window manager.
    activateWindow();
    // The repair menu opens once, over the first shown main screen.
    if (repairShown_ || checkresult == 0)
        return;
    repairShown_ = true;
    // Opened from the event loop, so show() returns first and the menu runs over the screen.
    QTimer::singleShot(0, this, [this]() {
        checkpara dialog(this, checkresult);
        dialog.exec();
    });
}
