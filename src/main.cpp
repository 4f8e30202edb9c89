#include "files/dialogide.h"
#include "mainwin/quickpages.h"
#include "mainwin/wave.h"
#include "ui/mystyle.h"
#include "ui/panelfonts.h"
#include "ui/windowfocus.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    app.setStyle(new mystyle);
    PanelFonts::install();
    app.setFont(PanelFonts::panel(12));
    WindowFocus::install();
    QuickPages::provide(QuickPages::DialogIde, [](QWidget *parent) { return new dialogide(parent); });
    int code;
    {
        // The constructor runs the whole start-up, dialogs included, before the screen shows.
        wave w(nullptr, nullptr, wave::kCustomFrameless);
        w.show();
        code = app.exec();
    }
    return code;
}
