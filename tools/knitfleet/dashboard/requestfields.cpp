#include "requestfields.h"

#include <QUrl>

QByteArray RequestFields::formField(const QByteArray &body, const char *name)
{
    const QByteArray key = QByteArray(name) + '=';
    for (const QByteArray &pair : body.split('&')) {
        if (!pair.startsWith(key))
            continue;
        QByteArray value = pair.mid(key.size());
        value.replace('+', ' ');
        return QByteArray::fromPercentEncoding(value);
    }
    return {};
}

QByteArrayList RequestFields::cookies(const QByteArray &header, const QByteArray &name)
{
    QByteArrayList out;
    const QByteArray key = name + '=';
    for (const QByteArray &part : header.split(';')) {
        const QByteArray pair = part.trimmed();
        if (pair.startsWith(key))
            out.append(pair.mid(key.size()));
    }
    return out;
}

QString RequestFields::host(const QByteArray &header)
{
    QString h = QString::fromLatin1(header).trimmed().toLower();
    if (h.startsWith(QLatin1Char('[')))
        h = h.mid(1, h.indexOf(QLatin1Char(']')) - 1);
    else if (h.count(QLatin1Char(':')) == 1)
        h = h.left(h.indexOf(QLatin1Char(':')));
    if (h.endsWith(QLatin1Char('.')))
        h.chop(1);
    return h;
}
