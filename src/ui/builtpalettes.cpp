#include "builtpalettes.h"

#include <QCoreApplication>

BuiltPalettes::BuiltPalettes(QObject *application)
    : QObject(application)
{
}

BuiltPalettes *BuiltPalettes::ofApplication()
{
    QCoreApplication *application = QCoreApplication::instance();
    if (!application)
        return nullptr;
    if (auto *set = application->findChild<BuiltPalettes *>(QString(), Qt::FindDirectChildrenOnly))
        return set;
    return new BuiltPalettes(application);
}

QPalette BuiltPalettes::palette(const QColor &dark, Kind kind, Make make)
{
    if (dark != builtFor_) {
        built_.fill(std::nullopt);
        builtFor_ = dark;
    }
    if (!built_[kind])
        built_[kind] = make(dark);
    return *built_[kind];
}
