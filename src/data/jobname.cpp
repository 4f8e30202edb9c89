#include "jobname.h"

#include <QStringDecoder>
#include <QStringEncoder>

bool JobName::isSafe(const QString &name)
{
    if (name.isEmpty() || name.startsWith(QLatin1Char('.')))
        return false;
    if (name.contains(QLatin1Char('/')) || name.contains(QChar(0)) || name.contains(QLatin1Char('\\')))
        return false;
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return false;
    }
    return encode(name).size() <= 251;
}

QString JobName::decode(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString s = utf8.decode(bytes);
    if (!utf8.hasError())
        return s;
    QStringDecoder gbk("GBK");
    if (!gbk.isValid())
        return QString::fromLatin1(bytes);
    return gbk.decode(bytes);
}

QByteArray JobName::encode(const QString &name)
{
    bool ascii = true;
    for (const QChar c : name) {
        if (c.unicode() > 0x7f) {
            ascii = false;
            break;
        }
    }
    if (ascii)
        return name.toLatin1();
    QStringEncoder gbk("GBK");
    if (gbk.isValid()) {
        const QByteArray b = gbk.encode(name);
        if (!gbk.hasError())
            return b;
    }
    return name.toUtf8();
}
