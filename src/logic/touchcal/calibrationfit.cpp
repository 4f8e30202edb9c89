#include "calibrationfit.h"

#include <QList>

#include <cmath>
#include <limits>

namespace {

double det3(const double m[3][3])
{
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0])
        + m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

// Solves m * k = v by Cramer's rule.
void solve(const double m[3][3], double d, const double v[3], double k[3])
{
    for (int col = 0; col < 3; ++col) {
        double t[3][3];
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c)
                t[r][c] = c == col ? v[r] : m[r][c];
        }
        k[col] = det3(t) / d;
    }
}

qint64 scaled(double v)
{
    return qint64(std::llround(v * double(CalibrationFit::kScale)));
}

} // namespace

const std::array<QPointF, CalibrationFit::kPoints> &CalibrationFit::crosses()
{
    static const std::array<QPointF, kPoints> points{
        QPointF(50, 50), QPointF(590, 50), QPointF(590, 430), QPointF(50, 430), QPointF(320, 240)};
    return points;
}

bool CalibrationFit::fit(const std::array<QPointF, kPoints> &raw, Coefficients *out)
{
    // Centred on the points' mean, so large raw values do not swamp the determinant.
    double mx = 0, my = 0;
    for (const QPointF &p : raw) {
        mx += p.x() / kPoints;
        my += p.y() / kPoints;
    }
    double m[3][3] = {};
    double vx[3] = {}, vy[3] = {};
    for (int i = 0; i < kPoints; ++i) {
        const double row[3] = {raw[std::size_t(i)].x() - mx, raw[std::size_t(i)].y() - my, 1.0};
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c)
                m[r][c] += row[r] * row[c];
            vx[r] += row[r] * crosses()[std::size_t(i)].x();
            vy[r] += row[r] * crosses()[std::size_t(i)].y();
        }
    }
    const double d = det3(m);
    const double spread = m[0][0] * m[1][1] * m[2][2];
    if (!std::isfinite(d) || spread <= 0 || std::fabs(d) < 1e-9 * spread)
        return false;
    double kx[3], ky[3];
    solve(m, d, vx, kx);
    solve(m, d, vy, ky);
    const double limit = double(std::numeric_limits<qint64>::max()) / 4 / double(kScale);
    for (double v : {kx[0], kx[1], kx[2], ky[0], ky[1], ky[2]}) {
        if (!std::isfinite(v) || std::fabs(v) > limit || std::fabs(v * mx) > limit || std::fabs(v * my) > limit)
            return false;
    }
    const Coefficients k{scaled(kx[0]), scaled(kx[1]), scaled(kx[2] - kx[0] * mx - kx[1] * my),
                         scaled(ky[0]), scaled(ky[1]), scaled(ky[2] - ky[0] * mx - ky[1] * my)};
    for (int i = 0; i < kPoints; ++i) {
        const QPointF p = map(k, raw[std::size_t(i)]) - crosses()[std::size_t(i)];
        if (std::hypot(p.x(), p.y()) > kTolerancePx)
            return false;
    }
    *out = k;
    return true;
}

QPointF CalibrationFit::map(const Coefficients &k, const QPointF &raw)
{
    return QPointF((double(k[0]) * raw.x() + double(k[1]) * raw.y() + double(k[2])) / double(kScale),
                   (double(k[3]) * raw.x() + double(k[4]) * raw.y() + double(k[5])) / double(kScale));
}

CalibrationFit::Coefficients CalibrationFit::compose(const Coefficients &o, const Coefficients &i)
{
    const double s = double(kScale);
    auto at = [&](int r, int c, const Coefficients &k) { return double(k[std::size_t(3 * r + c)]) / s; };
    Coefficients k{};
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 3; ++c) {
            double v = at(r, 0, o) * at(0, c, i) + at(r, 1, o) * at(1, c, i);
            if (c == 2)
                v += at(r, 2, o);
            k[std::size_t(3 * r + c)] = scaled(v);
        }
    }
    return k;
}

CalibrationFit::Coefficients CalibrationFit::identity()
{
    return {kScale, 0, 0, 0, kScale, 0};
}

QByteArray CalibrationFit::line(const Coefficients &k)
{
    QByteArray text;
    for (qint64 v : k)
        text += QByteArray::number(v) + ' ';
    return text + QByteArray::number(kScale) + '\n';
}

bool CalibrationFit::parse(const QByteArray &text, Coefficients *out)
{
    const QList<QByteArray> words = text.simplified().split(' ');
    if (words.size() < 7)
        return false;
    bool ok = false;
    const qint64 s = words[6].toLongLong(&ok);
    if (!ok || s <= 0)
        return false;
    Coefficients k{};
    for (int i = 0; i < 6; ++i) {
        const qint64 v = words[i].toLongLong(&ok);
        if (!ok)
            return false;
        // Kept over our scale whatever scale the file used.
        const double scaledValue = double(v) * double(kScale) / double(s);
        if (!std::isfinite(scaledValue) || std::fabs(scaledValue) > 1e15)
            return false;
        k[std::size_t(i)] = qint64(std::llround(scaledValue));
    }
    *out = k;
    return true;
}
