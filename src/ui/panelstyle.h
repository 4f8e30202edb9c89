#pragma once

#include <QProxyStyle>

#include <vector>

// The panel's widget style: Fusion with touch-sized scroll bars and indicators, no keyboard
// mnemonics underlined (the keypad has no Alt key), and disabled buttons and boxes greyed.
class PanelStyle : public QProxyStyle
{
    Q_OBJECT

public:
    PanelStyle();

    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption *option = nullptr, const QWidget *widget = nullptr,
                  QStyleHintReturn *returnData = nullptr) const override;

    // One palette object for all palettes of the same colours: Fusion keeps drawn faces in the
    // pixmap cache under the palette object's key.
    QPalette interned(const QPalette &palette) const;

private:
    static constexpr std::size_t kInternedKept = 64;
    mutable std::vector<QPalette> interned_;
};
