// Saves a PNG of the whole X screen named by DISPLAY: the e2e tests' screenshots of the panel.
// Rectangles given as X,Y,W,H are filled black first, so pictures of two runs compare alike
// where only the clock moved.
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: knitshot FILE.png [X,Y,W,H ...]\n");
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
