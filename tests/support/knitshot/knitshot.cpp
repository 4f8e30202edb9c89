// Saves a PNG of the whole X screen named by DISPLAY: the e2e tests' screenshots of the panel.
// Rectangles given as X,Y,W,H are filled black first, so pictures of two runs compare alike
// where only the clock moved.
// "knitshot --compare A B" compares two pictures of a screen instead (the boot test's panel
// computer against the host's panel): it prints the share of pixels that differ by more than a
// little in any colour, in per mille, and whether the sizes match.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int compare(const char *a, const char *b)
{
    const QImage first = QImage(QString::fromLocal8Bit(a)).convertToFormat(QImage::Format_RGB32);
    const QImage second = QImage(QString::fromLocal8Bit(b)).convertToFormat(QImage::Format_RGB32);
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
    if (argc == 4 && std::strcmp(argv[1], "--compare") == 0)
        return compare(argv[2], argv[3]);
    if (argc < 2) {
        std::fprintf(stderr, "usage: knitshot FILE.png [X,Y,W,H ...] | knitshot --compare A B\n");
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
