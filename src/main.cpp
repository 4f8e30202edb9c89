#include "mainwin/wave.h"

#include <QApplication>
#include <QFont>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    app.setFont(QFont(QStringLiteral("helvetica"), 12, QFont::Normal, false));
    int code;
    {
        wave w(nullptr, nullptr, wave::kCustomFrameless);
        w.show();
        code = app.exec();
    }
    return code;
}
