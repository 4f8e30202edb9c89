#include "panelfonts.h"

#include <QStringList>

const char *const PanelFonts::kCjkFamily = "WenQuanYi Micro Hei";

namespace {
const QString kHelvetica = QStringLiteral("helvetica");
}

void PanelFonts::install()
{
    const QString cjk = QString::fromLatin1(kCjkFamily);
    if (!QFont::substitutes(kHelvetica).contains(cjk))
        QFont::insertSubstitution(kHelvetica, cjk);
}

QFont PanelFonts::panel(int size)
{
    // The panel's sizes are those of its 72 dpi bitmap fonts: one point is one pixel, so
    // layouts made for 640 x 480 hold whatever the host's dpi.
    QFont f(kHelvetica);
    f.setPixelSize(size);
    f.setWeight(QFont::Normal);
    // The family list makes the CJK font the glyph fallback even where helvetica matches.
    f.setFamilies({kHelvetica, QString::fromLatin1(kCjkFamily)});
    // Unhinted, as the CJK font's own fontconfig rule asks (hinting off), which Qt reads only
    // through this preference. Hinted, FreeType's autohinter would take it: a walk over the
    // whole font before the first glyph and some 40,000 instructions a glyph, a seventh of the
    // start-up's. Advances stay the font's design metrics either way, so texts keep their widths.
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

QFont PanelFonts::edit()
{
    return panel(12);
}
