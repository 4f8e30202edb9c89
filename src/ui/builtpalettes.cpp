#include "builtpalettes.h"

BuiltPalettes::BuiltPalettes(QObject *application)
    : QObject(application)
{
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
