#include "data/jobevents.h"
#include "data/machinedata.h"
#include "link/controllerpresence.h"
#include "link/tftpporthistory.h"
#include "logic/mainwin/language.h"
#include "logic/mainwin/translations.h"
#include "mainwin/exitafterstart.h"
#include "mainwin/mainscreen.h"
#include "pages/panelpages.h"
#include "platform/buzzerdevice.h"
#include "platform/datadiskstate.h"
#include "platform/heappolicy.h"
#include "platform/rootlayout.h"
#include "platform/servicenotify.h"
#include "platform/stallreport.h"
#include "ui/builtpalettes.h"
#include "ui/fontconfiguration.h"
#include "ui/jobviewers.h"
#include "ui/layoutaudit.h"
#include "ui/operatordialogs.h"
#include "ui/panelfonts.h"
#include "ui/panelstyle.h"
#include "ui/quickpages.h"
#include "ui/windowfocus.h"

#include <QApplication>

#include <cstdio>
#include <sysexits.h>

int main(int argc, char **argv)
{
    HeapPolicy::apply();
    // Before any window: a panel whose files cannot be kept says so and stops (sysexits' 73).
    QString why;
    if (!RootLayout::ensure(&why)) {
        std::fprintf(stderr, "knitpanel: %s\n", qPrintable(why));
        return EX_CANTCREAT;
    }
    // Before the toolkit, whose first font would start fontconfig the long way.
    FontConfiguration::load();
    QApplication app(argc, argv);
    HeapPolicy::trimPeriodically(&app);
    // The operator's language before the first widget, so every screen is built in it.
    Translations::apply(Language::load());
    app.setStyle(new PanelStyle);
    PanelFonts::install();
    app.setFont(PanelFonts::panel(12));
    WindowFocus::install();
    // Before the start-up, whose dialogs run their own loops, so their stalls count too.
    StallReport::armFromEnvironment();
    // Watchdog pings from the event loop from here on, start-up's questions included.
    new ServiceNotify(&app);
    LayoutAudit::install();
    // What the layers below reach as the application's parts (ApplicationParts): the buzzer,
    // which start-up opens, the controller's presence, the TFTP port's history, the
    // palettes built for the dark colour in use and the jobs imported and loaded.
    new BuzzerDevice(&app);
    new ControllerPresence(&app);
    new TftpPortHistory(&app);
    new BuiltPalettes(&app);
    new JobEvents(&app);
    // The machine's data, for the whole run: every page that shows or changes it is given it.
    MachineData machine;
    auto *viewers = new JobViewers(&app);
    PanelPages::provide(*viewers, machine);
    // The pages one screen opens from another: no screen includes another's headers.
    QuickPages pages;
    int code;
    {
        MainScreen w(machine, &pages, nullptr, nullptr, MainScreen::kCustomFrameless);
        PanelPages::provide(pages, machine, &w);
        // The whole start-up, dialogs included, under the start picture; then the main screen.
        w.start();
        if (DataDiskState::standIn())
            showMessage(&w, QCoreApplication::translate("main", "电子硬盘无法使用, 已用默认参数启动, 设置不能保存 ! 请修复或格式化电子硬盘 !"));
        HeapPolicy::trimSoon();
        ExitAfterStart::install(&w);
        code = app.exec();
    }
    return code;
}
