#pragma once

#include <QFont>

// The panel's fonts: "helvetica" for texts and titles and the edit font (the panel's
// helvetica_120_50), with the Chinese glyphs taken from WenQuanYi Micro Hei.
class PanelFonts
{
public:
    static const char *const kCjkFamily;

    // Registers the CJK family as substitute for the panel families; run once after the
    // application exists, before the first widget is built.
    static void install();
    static QFont panel(int size = 12); // helvetica 12 for texts, 24 for titles
    static QFont title() { return panel(24); }
    static QFont edit(); // helvetica 12, normal weight
};
