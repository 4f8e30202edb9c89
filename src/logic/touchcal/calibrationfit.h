#pragma once

#include <QByteArray>
#include <QPointF>

#include <array>

// The touch screen's calibration from five touches: x and y each fitted as a*X + b*Y + c over
// the raw points by least squares, kept as whole numbers over a scale of 65536 as the pointer
// calibration file holds them. Points that do not fix a plane, or a touch that the fit puts
// more than 8 px from its cross, make the data inconsistent.
class CalibrationFit
{
public:
    static constexpr int kPoints = 5;
    static constexpr qint64 kScale = 65536;
    static constexpr double kTolerancePx = 8.0;
    // a b c d e f: x = (a*X + b*Y + c) / kScale, y = (d*X + e*Y + f) / kScale.
    using Coefficients = std::array<qint64, 6>;

    // The crosses, in the order they are shown.
    static const std::array<QPointF, kPoints> &crosses();

    // False when the points are inconsistent.
    static bool fit(const std::array<QPointF, kPoints> &raw, Coefficients *out);
    // Where the coefficients put a raw point.
    static QPointF map(const Coefficients &k, const QPointF &raw);
    // The coefficients of "first outer, then inner": a fit over points that inner already
    // mapped becomes a fit over the raw points.
    static Coefficients compose(const Coefficients &outer, const Coefficients &inner);
    // The identity, as a panel without a calibration file reads the touch.
    static Coefficients identity();
    // The file's one line: "a b c d e f 65536\n".
    static QByteArray line(const Coefficients &k);
    // The coefficients of such a line; false when it is not one.
    static bool parse(const QByteArray &text, Coefficients *out);
};
