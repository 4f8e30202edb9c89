#pragma once

#include <QByteArray>
#include <QString>

// Names that come from outside (the controller, a USB stick, the operator) and become one
// path component: decoding (UTF-8, else GBK) and the check that keeps them one component.
class JobName
{
public:
    // True when name is usable as a single directory or file name under the data root: not
    // empty, no '/', no NUL, not "." or "..", no leading '.', at most 251 bytes as GBK/UTF-8.
    static bool isSafe(const QString &name);
    // Bytes as stored on disk or sent by the controller: UTF-8 when valid, else GBK.
    static QString decode(const QByteArray &bytes);
    // The bytes to store a name with: GBK when every character has a GBK form, else UTF-8.
    static QByteArray encode(const QString &name);
};
