#pragma once

#include <QProxyStyle>

#include <map>

// The panel's widget style: Fusion with touch-sized scroll bars and indicators, no keyboard
// mnemonics underlined (the keypad has no Alt key), and disabled buttons and boxes greyed.
class mystyle : public QProxyStyle
{
    Q_OBJECT

public:
    mystyle();

    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption *option = nullptr, const QWidget *widget = nullptr,
                  QStyleHintReturn *returnData = nullptr) const override;

private:
    // The disabled look of palette, the same object for the same palette.
    const QPalette &dimmedOf(const QPalette &palette) const;

    static constexpr std::size_t kDimmedKept = 32;
    mutable std::map<qint64, QPalette> dimmed_;
};
