#pragma once

#include <QString>
#include <QStringList>

// What a control command answers: its lines, then "ok", or "error <error>" when error is set.
struct ControlReply
{
    QStringList lines;
    QString error;

    static ControlReply ok(const QStringList &lines = {}) { return {lines, {}}; }
    static ControlReply fail(const QString &why) { return {{}, why}; }
};
