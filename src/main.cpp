#include "editors/cntedit.h"
#include "editors/patedit.h"
#include "files/dialogide.h"
#include "files/jobviewers.h"
#include "logic/language.h"
#include "logic/translations.h"
#include "machinetests/exttest.h"
#include "mainwin/exitafterstart.h"
#include "mainwin/quickpages.h"
#include "mainwin/wave.h"
#include "params/extsyspara.h"
#include "params/paramframes.h"
#include "platform/datadiskstate.h"
#include "platform/heappolicy.h"
#include "platform/rootlayout.h"
#include "platform/servicenotify.h"
#include "platform/stallreport.h"
#include "ui/layoutaudit.h"
#include "ui/mystyle.h"
#include "ui/operatordialogs.h"
#include "ui/panelfonts.h"
#include "ui/windowfocus.h"
#include "workparams/workparabrown.h"
#include "workparams/workparadialog.h"

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
    QApplication app(argc, argv);
    HeapPolicy::trimPeriodically(&app);
    // The operator's language before the first widget, so every screen is built in it.
    Translations::apply(Language::load());
    app.setStyle(new mystyle);
    PanelFonts::install();
    app.setFont(PanelFonts::panel(12));
    WindowFocus::install();
    // Before the start-up, whose dialogs run their own loops, so their stalls count too.
    StallReport::armFromEnvironment();
    // Watchdog pings from the event loop from here on, start-up's questions included.
    ServiceNotify::armFromEnvironment(&app);
    LayoutAudit::install();
    QuickPages::provide(QuickPages::ExtTest, [](QWidget *parent) { return new exttest(parent); });
    QuickPages::provide(QuickPages::ConstParaSetting, [](QWidget *parent) { return new constparasetting(parent); });
    QuickPages::provide(QuickPages::ExtSysPara, [](QWidget *parent) { return new extsyspara(parent); });
    QuickPages::provide(QuickPages::DialogIde, [](QWidget *parent) { return new dialogide(parent); });
    QuickPages::provide(QuickPages::Para, [](QWidget *parent) { return new para(parent); });
    QuickPages::provide(QuickPages::ParaElse, [](QWidget *parent) { return new paraelse(parent); });
    JobViewers::provide(JobViewers::WorkParameters,
                        [](const QString &path, int mode, QWidget *parent) { workparabrown::openwrkfile(mode, path, parent); });
    JobViewers::provide(JobViewers::Program, [](const QString &path, int, QWidget *parent) { CntEdit::openfile(path, parent); });
    JobViewers::provide(JobViewers::Pattern, [](const QString &path, int, QWidget *parent) { PatEdit::openfile(path, parent); });
    int code;
    {
        wave w(nullptr, nullptr, wave::kCustomFrameless);
        // The whole start-up, dialogs included, under the start picture; then the main screen.
        w.start();
        if (DataDiskState::standIn())
            DIAMESSAGE(&w, QCoreApplication::translate("main", "电子硬盘无法使用, 已用默认参数启动, 设置不能保存 ! 请修复或格式化电子硬盘 !"));
        HeapPolicy::trimSoon();
        ExitAfterStart::install(&w);
        code = app.exec();
    }
    return code;
}
