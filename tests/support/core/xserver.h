#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// A private X server (Xvfb, 640 x 480, no TCP) for end-to-end tests, with the keyboard of
// xdotool and screenshots of the whole screen.
class XServer
{
public:
    ~XServer() { stop(); }

    // False (with a reason naming the missing program) when Xvfb or xdotool is absent.
    static bool available(QString *why);

    bool start(QString *error = nullptr);
    void stop();

    // xdotool key names ("Return", "Escape", "Down").
    bool key(const QString &name);
    bool screenshot(const QString &pngPath);
    // The environment for a program on this screen.
    QProcessEnvironment environment(const QProcessEnvironment &base = QProcessEnvironment::systemEnvironment()) const;

private:
    QProcess xvfb_;
    QString display_;
};
