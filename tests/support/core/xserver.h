#pragma once

#include "ownprogram.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <functional>
#include <random>
#include <unistd.h>

// A private X server (Xvfb, 640 x 480, no TCP) for end-to-end tests, with the keyboard of
// xdotool and screenshots of the whole screen.
class XServer
{
public:
    ~XServer() { stop(); }

    // False (with a reason naming the missing program) when Xvfb or xdotool is absent.
    static bool available(QString *why)
    {
        for (const char *program : {"Xvfb", "xdotool"}) {
            *why = QStringLiteral("%1 not found: install it with scripts/setup.sh").arg(QLatin1String(program));
            if (QStandardPaths::findExecutable(QLatin1String(program)).isEmpty())
                return false;
        }
        return true;
    }

    // On a free display number; a display whose socket or lock exists belongs to someone else.
    bool start()
    {
        std::mt19937 rng(std::random_device{}() ^ unsigned(::getpid()));
        for (int attempt = 0; attempt < 20; ++attempt) {
            const int n = 200 + int(rng() % 700);
            const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(n);
            if (QFileInfo::exists(socket) || QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)))
                continue;
            display_ = QStringLiteral(":%1").arg(n);
            xvfb_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            xvfb_.start(QStringLiteral("Xvfb"), {display_, "-screen", "0", "640x480x24", "-nolisten", "tcp"});
            if (xvfb_.waitForStarted(5000)
                && QTest::qWaitFor([&] { return QFileInfo::exists(socket) || xvfb_.state() != QProcess::Running; }, 5000)
                && xvfb_.state() == QProcess::Running)
                return true;
            stop();
        }
        return false;
    }
    void stop()
    {
        endProgram(xvfb_);
    }

    // The environment for a program on this screen.
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), display_);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        return env;
    }
    // xdotool key names ("Return", "Escape", "m"), pressed in order by one xdotool.
    bool keys(const QStringList &names) { return names.isEmpty() || run(QStringLiteral("xdotool"), QStringList{"key"} + names); }
    bool key(const QString &name) { return keys({name}); }
    // A touch: press and release of the first button at the screen's x, y.
    bool click(int x, int y)
    {
        return run(QStringLiteral("xdotool"), {"mousemove", QString::number(x), QString::number(y), "click", "1"});
    }
    // The window with the keyboard: its id, and its name (the panel names each window after its
    // class once the window has drawn itself); both empty when that is none or the root window,
    // as when a closed window left the keyboard to nobody.
    struct Window
    {
        QByteArray id;
        QByteArray name;
    };
    Window focus() const
    {
        // One xdotool for both, so the name is the window's whose id it is.
        const QList<QByteArray> lines = xdotool({"getwindowfocus", "getwindowgeometry", "getwindowname"}).split('\n');
        if (lines.size() < 4 || !lines.first().startsWith("Window "))
            return {};
        return {lines.first().mid(7), lines.last()};
    }
    QByteArray focusWindow() const { return focus().id; }
    bool screenshot(const QString &pngPath) { return run(QStringLiteral(KNITSHOT_PATH), {pngPath}); }
    // Where the end-to-end tests leave a picture: the build directory's e2e-NAME.png.
    static QString picture(const char *name)
    {
        return QStringLiteral(KNIT_BINARY_DIR "/e2e-") + QLatin1String(name) + QStringLiteral(".png");
    }
    // Screenshots until done takes one (kept as e2e-NAME.png), at most ten seconds; a failure
    // of the test, and a null image, when none does.
    QImage pictureWhen(const char *name, const std::function<bool(const QImage &)> &done)
    {
        const QDeadlineTimer deadline(10000);
        QImage image;
        while (!deadline.hasExpired()) {
            if (screenshot(picture(name)) && image.load(picture(name)) && done(image))
                return image;
        }
        QTest::qFail(qPrintable(QStringLiteral("the screen never showed %1").arg(QLatin1String(name))), __FILE__, __LINE__);
        return QImage();
    }

private:
    // What xdotool prints; empty when it fails.
    QByteArray xdotool(const QStringList &args) const
    {
        QProcess p;
        p.setProcessEnvironment(environment());
        p.start(QStringLiteral("xdotool"), args);
        if (!p.waitForFinished(10000) || p.exitCode() != 0)
            return {};
        return p.readAllStandardOutput().trimmed();
    }
    bool run(const QString &program, const QStringList &args)
    {
        QProcess p;
        p.setProcessEnvironment(environment());
        p.start(program, args);
        return p.waitForFinished(10000) && p.exitCode() == 0;
    }

    QProcess xvfb_;
    QString display_;
};
