#include "updatepackage.h"

UpdatePackage::Kind UpdatePackage::kindOf(const QByteArray &name)
{
    const QByteArray lower = name.toLower();
    if (lower.startsWith("master") && lower.endsWith(".bin"))
        return Master;
    if (lower.startsWith("slv1") && lower.endsWith(".bin"))
        return Slave;
    if (lower.startsWith("knit") && !lower.endsWith(".sha256"))
        return Panel;
    return None;
}

UpdatePackage::Scan UpdatePackage::scan(const QList<QByteArray> &names)
{
    Scan s;
    for (const QByteArray &name : names) {
        switch (kindOf(name)) {
        case Master:
            ++s.master;
            s.masterName = name;
            break;
        case Slave:
            ++s.slave;
            s.slaveName = name;
            break;
        case Panel:
            ++s.panel;
            s.panelName = name;
            break;
        case None:
            break;
        }
    }
    return s;
}

const char *UpdatePackage::refusal(const Scan &s)
{
    if (s.master != 1)
        return QT_TRANSLATE_NOOP("UpdatePackage", "请保证该目录下有且只有一个主控程序");
    if (s.slave != 1)
        return QT_TRANSLATE_NOOP("UpdatePackage", "请保证该目录下有且只有一个从控程序");
    if (s.panel != 1)
        return QT_TRANSLATE_NOOP("UpdatePackage", "请保证该目录下有且只有一个显示程序");
    return nullptr;
}
