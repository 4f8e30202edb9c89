#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <functional>

// Exports a file or a folder of the panel's disk into the stick folder shown: under its own
// name (asking before anything there is overwritten), or, for a folder exported as single
// files, its files straight into the folder shown.
class StickExport
{
    Q_DECLARE_TR_FUNCTIONS(StickExport)

public:
    struct Hooks
    {
        std::function<bool(const QString &question)> ask;
        std::function<void(const QString &text)> tell;
        std::function<bool(const QString &from, const QByteArray &to)> copy; // one file, whole
    };

    explicit StickExport(Hooks hooks);

    bool asFiles = false; // "F7. 以文件形式导出"

    // True when everything was copied; the hooks have told the outcome.
    bool run(const QString &source, const QByteArray &folder);

private:
    bool copyFiles(const QString &sourceDir, const QByteArray &to);

    Hooks hooks_;
};
