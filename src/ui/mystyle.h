#pragma once

#include <QProxyStyle>

// The panel's widget style: Fusion with touch-sized scroll bars and indicators and no keyboard
// mnemonics underlined (the keypad has no Alt key).
class mystyle : public QProxyStyle
{
    Q_OBJECT

public:
    mystyle();

    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption *option = nullptr, const QWidget *widget = nullptr,
                  QStyleHintReturn *returnData = nullptr) const override;
};
