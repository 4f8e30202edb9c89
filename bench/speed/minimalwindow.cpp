// The reference for bench/speed.sh: the least a Qt Widgets program does to show the panel's
// kind of screen. One 640 x 480 window with one label, a line of Chinese in the panel's font
// (asked for as the panel asks for it); it quits with status 0 right after its first paint,
// as knitpanel does under KNIT_EXIT_AFTER_START=1, unless its argument is "stay".
#include <QApplication>
#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QWidget>

#include <cstring>

namespace {

class QuitAfterPaint : public QObject
{
public:
    explicit QuitAfterPaint(QWidget *window)
        : window_(window)
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType() && static_cast<QWidget *>(watched)->window() == window_) {
            qApp->removeEventFilter(this);
            QMetaObject::invokeMethod(qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    QWidget *window_;
};

} // namespace

int main(int argc, char **argv)
{
    const bool stay = argc > 1 && std::strcmp(argv[1], "stay") == 0;
    QApplication app(argc, argv);
    const QString cjk = QStringLiteral("WenQuanYi Micro Hei");
    QFont::insertSubstitution(QStringLiteral("helvetica"), cjk);
    QFont font(QStringLiteral("helvetica"));
    font.setPixelSize(12);
    font.setFamilies({QStringLiteral("helvetica"), cjk});
    app.setFont(font);
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window.resize(640, 480);
    QLabel label(QString::fromUtf8("系统归零, 请等待."), &window);
    label.setGeometry(10, 10, 620, 30);
    QuitAfterPaint quit(&window);
    if (!stay)
        app.installEventFilter(&quit);
    window.show();
    return app.exec();
}
