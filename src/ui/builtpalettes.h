#pragma once

#include <QColor>
#include <QObject>
#include <QPalette>

#include <array>
#include <optional>

// The panel's palettes as built for one dark colour, one of the application's parts
// (ApplicationParts), as the application's palette carries that colour: each is built once and
// shared after (copies of a QPalette share it until one is changed). Start-up alone asks some
// ninety times, and each build sets every role in every colour group. Another dark colour
// starts the set afresh.
class BuiltPalettes : public QObject
{
    Q_OBJECT

public:
    enum Kind { LabelDark, LabelWhite, ButtonDark, LabelDesktop, LabelBack, LabelText, Kinds };
    using Make = QPalette (*)(const QColor &dark);

    explicit BuiltPalettes(QObject *application);

    // kind's palette for dark as built before, else as make builds it now.
    QPalette palette(const QColor &dark, Kind kind, Make make);

private:
    QColor builtFor_;
    std::array<std::optional<QPalette>, Kinds> built_;
};
