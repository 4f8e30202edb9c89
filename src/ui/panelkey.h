#pragma once

#include <QList>
#include <QString>

// One on-screen key: its label and the keypad key it posts (a Qt::Key, see KeyInjection).
struct PanelKey
{
    QString label;
    int key = 0;
};
using PanelKeys = QList<PanelKey>;
