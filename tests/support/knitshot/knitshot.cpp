// Saves a PNG of the whole X screen named by DISPLAY: the e2e tests' screenshots of the panel.
// Rectangles given as X,Y,W,H after FILE.png are filled black first, so pictures of two runs
// compare alike where only the clock moved.
// "knitshot --compare A B [X,Y,W,H]" compares two pictures of a screen instead (the boot test's
// panel computer against the host's panel), whole or in the rectangle given (where one page alone
// draws): it prints the share of pixels that differ by more than a little in any colour, in per
// mille, and whether the sizes match.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QRect>
#include <QScreen>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// "X,Y,W,H" inside a picture of size; an empty rectangle when it is not one.
QRect region(const char *text, const QSize &size)
{
    const QStringList parts = QString::fromLatin1(text).split(QLatin1Char(','));
    int v[4] = {};
    for (int i = 0; i < 4 && parts.size() == 4; ++i) {
        bool ok = false;
        v[i] = parts[i].toInt(&ok);
        if (!ok)
            return {};
    }
    const QRect r(v[0], v[1], v[2], v[3]);
    return QRect(QPoint(0, 0), size).contains(r) ? r : QRect();
}

int compare(const char *a, const char *b, const char *area)
{
    QImage first = QImage(QString::fromLocal8Bit(a)).convertToFormat(QImage::Format_RGB32);
    QImage second = QImage(QString::fromLocal8Bit(b)).convertToFormat(QImage::Format_RGB32);
    if (area && !first.isNull() && first.size() == second.size()) {
        const QRect r = region(area, first.size());
        if (r.isEmpty()) {
            std::fprintf(stderr, "knitshot: %s is no rectangle inside the picture\n", area);
            return 2;
        }
        first = first.copy(r);
        second = second.copy(r);
    }
    if (first.isNull() || second.isNull() || first.size() != second.size()) {
        std::printf("size %dx%d %dx%d\n", first.width(), first.height(), second.width(), second.height());
        return 1;
    }
    // Colour depth and scaling round a channel by a few steps: more than 48 is another pixel.
    qint64 differing = 0;
    for (int y = 0; y < first.height(); ++y) {
        const QRgb *p = reinterpret_cast<const QRgb *>(first.constScanLine(y));
        const QRgb *q = reinterpret_cast<const QRgb *>(second.constScanLine(y));
        for (int x = 0; x < first.width(); ++x) {
            const int d = std::max({std::abs(qRed(p[x]) - qRed(q[x])), std::abs(qGreen(p[x]) - qGreen(q[x])),
                                    std::abs(qBlue(p[x]) - qBlue(q[x]))});
            differing += d > 48 ? 1 : 0;
        }
    }
    std::printf("differing %lld permille\n", differing * 1000 / (qint64(first.width()) * first.height()));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if ((argc == 4 || argc == 5) && std::strcmp(argv[1], "--compare") == 0)
        return compare(argv[2], argv[3], argc == 5 ? argv[4] : nullptr);
    if (argc < 2 || std::strcmp(argv[1], "--compare") == 0) {
        std::fprintf(stderr, "usage: knitshot FILE.png [X,Y,W,H ...] | knitshot --compare A B [X,Y,W,H]\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    QScreen *screen = QGuiApplication::primaryScreen();
    QPixmap picture = screen ? screen->grabWindow(0) : QPixmap();
    if (picture.isNull()) {
        std::fprintf(stderr, "knitshot: cannot grab the screen\n");
        return 1;
    }
    QPainter painter(&picture);
    for (int i = 2; i < argc; ++i) {
        const QList<QByteArray> r = QByteArray(argv[i]).split(',');
        if (r.size() != 4) {
            std::fprintf(stderr, "knitshot: %s is no X,Y,W,H\n", argv[i]);
            return 2;
        }
        painter.fillRect(r[0].toInt(), r[1].toInt(), r[2].toInt(), r[3].toInt(), Qt::black);
    }
    painter.end();
    if (!picture.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "knitshot: cannot save %s\n", argv[1]);
        return 1;
    }
    return 0;
}
