#include "automatictestkeys.h"

AutomaticTestKeys::AutomaticTestKeys(QWidget *parent, const char *name)
    : KeyColumn(parent, name)
{
    showKeysFor(0);
}

PanelKeys AutomaticTestKeys::keys()
{
    // The carriage page starts cycle modes 1-5 on A-E and the 20, 40 and 60 Hz selector tests
    // on F-H; its digits act on single elements instead.
    PanelKeys keys;
    for (int mode = 0; mode < 5; ++mode)
        keys.append({tr("方式%1").arg(mode + 1), Qt::Key_A + mode});
    for (int test = 0; test < 3; ++test)
        keys.append({tr("选针器测试%1").arg(test + 1), Qt::Key_F + test});
    return keys;
}
