#include "data/machinedata.h"
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
#include "platform/heappolicy.h"
#include "platform/rootlayout.h"
#include "platform/stallreport.h"
#include "ui/layoutaudit.h"
#include "ui/mystyle.h"
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
    LayoutAudit::install();
    // The machine's data, for the whole run: every page that shows or changes it is given it.
    MachineData machine;
    QuickPages::provide(QuickPages::ExtTest, [&machine](QWidget *parent) { return new exttest(machine, parent); });
    QuickPages::provide(QuickPages::ConstParaSetting, [&machine](QWidget *parent) { return new constparasetting(machine, parent); });
    QuickPages::provide(QuickPages::ExtSysPara, [&machine](QWidget *parent) { return new extsyspara(machine, parent); });
    QuickPages::provide(QuickPages::DialogIde, [&machine](QWidget *parent) { return new dialogide(machine, parent); });
    QuickPages::provide(QuickPages::Para, [&machine](QWidget *parent) { return new para(machine, parent); });
    QuickPages::provide(QuickPages::ParaElse, [&machine](QWidget *parent) { return new paraelse(machine, parent); });
    JobViewers::provide(JobViewers::WorkParameters, [&machine](const QString &path, int mode, QWidget *parent) {
        workparabrown::openwrkfile(machine, mode, path, parent);
    });
    JobViewers::provide(JobViewers::Program,
                        [&machine](const QString &path, int, QWidget *parent) { CntEdit::openfile(machine, path, parent); });
    JobViewers::provide(JobViewers::Pattern,
                        [&machine](const QString &path, int, QWidget *parent) { PatEdit::openfile(machine, path, parent); });
    int code;
    {
        wave w(machine, nullptr, nullptr, wave::kCustomFrameless);
        // The whole start-up, dialogs included, under the start picture; then the main screen.
        w.start();
        HeapPolicy::trimSoon();
        ExitAfterStart::install(&w);
        code = app.exec();
    }
    return code;
}
