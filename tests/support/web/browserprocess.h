#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QWebSocket>

// A real headless Chromium for a test, driven over its DevTools protocol on loopback: a fresh
// profile, no network of its own beyond the page's server, one page whose scripts can be
// evaluated and whose picture can be taken.
class BrowserProcess
{
public:
    ~BrowserProcess();
    // False, naming the package, when Chromium is absent.
    static bool available(QString *why);
    // Opens url in a window of width × height; false with a reason.
    bool start(const QString &url, int width, int height, QString *why);
    // The value of a JavaScript expression in the page (awaited when it is a promise).
    QJsonValue evaluate(const QString &expression);
    bool screenshot(const QString &path);
    // Runs in every document before its own scripts (measuring instruments).
    void addScript(const QString &source);
    // Navigates as the user would (file: URLs too).
    void navigate(const QString &url);
    // Shows pages as a device of that screen would (mobile: as a phone, where the page's
    // viewport declaration counts); a headless window is never narrower than 500 px.
    void emulate(int width, int height, bool mobile);

private:
    QJsonObject call(const QString &method, const QJsonObject &params);

    QTemporaryDir profile_;
    QProcess process_;
    QWebSocket socket_;
    QHash<int, QJsonObject> replies_;
    int nextId_ = 1;
};
