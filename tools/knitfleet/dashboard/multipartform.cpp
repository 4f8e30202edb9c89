#include "multipartform.h"

namespace {

bool isToken(const QByteArray &s)
{
    if (s.isEmpty() || s.size() > 64)
        return false;
    for (const char c : s)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-'))
            return false;
    return true;
}

} // namespace

QByteArray MultipartForm::boundary(const QByteArray &contentType)
{
    const QList<QByteArray> bits = contentType.split(';');
    if (bits.value(0).trimmed().toLower() != "multipart/form-data")
        return QByteArray();
    for (qsizetype i = 1; i < bits.size(); ++i) {
        const QByteArray bit = bits[i].trimmed();
        if (!bit.toLower().startsWith("boundary="))
            continue;
        QByteArray b = bit.mid(9);
        if (b.size() >= 2 && b.startsWith('"') && b.endsWith('"'))
            b = b.mid(1, b.size() - 2);
        // RFC 2046's characters, without the space (a client that sends one quotes it; none of
        // ours does), so the delimiter is one plain run of bytes.
        for (const char c : b)
            if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || QByteArray("'()+_,-./:=?").contains(c)))
                return QByteArray();
        return b.size() <= kMaxBoundary ? b : QByteArray();
    }
    return QByteArray();
}

bool MultipartForm::parse(const QByteArray &body, const QByteArray &boundary, QList<Part> *parts, QString *why)
{
    parts->clear();
    if (boundary.isEmpty() || boundary.size() > kMaxBoundary) {
        *why = QStringLiteral("not multipart/form-data with a boundary");
        return false;
    }
    const QByteArray delimiter = "\r\n--" + boundary;
    // The first delimiter may open the body without the CRLF before it.
    qsizetype at = body.startsWith(delimiter.mid(2)) ? delimiter.size() - 2 : -1;
    if (at < 0) {
        *why = QStringLiteral("the body does not start with its boundary");
        return false;
    }
    for (;;) {
        if (body.mid(at, 2) == "--") {
            const QByteArray rest = body.mid(at + 2);
            if (!rest.isEmpty() && rest != "\r\n") {
                *why = QStringLiteral("data after the closing boundary");
                parts->clear();
                return false;
            }
            return true;
        }
        if (body.mid(at, 2) != "\r\n" || parts->size() >= kMaxParts) {
            *why = parts->size() >= kMaxParts ? QStringLiteral("more than %1 parts").arg(kMaxParts) : QStringLiteral("a bad boundary line");
            parts->clear();
            return false;
        }
        at += 2;
        const qsizetype headEnd = body.indexOf("\r\n\r\n", at);
        const qsizetype next = body.indexOf(delimiter, at);
        if (headEnd < 0 || next < 0 || headEnd > next || headEnd - at > kMaxPartHead) {
            *why = next < 0 ? QStringLiteral("a part without its closing boundary") : QStringLiteral("a part's head is bad or over 1 KiB");
            parts->clear();
            return false;
        }
        Part part;
        if (!readHead(body.mid(at, headEnd - at), &part, why) || find(*parts, part.name.constData())) {
            if (why->isEmpty())
                *why = QStringLiteral("the field %1 is given twice").arg(QString::fromLatin1(part.name));
            parts->clear();
            return false;
        }
        part.data = body.mid(headEnd + 4, next - headEnd - 4);
        parts->append(part);
        at = next + delimiter.size();
    }
}

bool MultipartForm::readHead(const QByteArray &head, Part *part, QString *why)
{
    why->clear();
    bool disposition = false;
    const QList<QByteArray> lines = head.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        // The head ends where its blank line begins: its last line has no CR of its own.
        const bool last = i == lines.size() - 1;
        if (last == lines[i].endsWith('\r')) {
            *why = QStringLiteral("a part's head line without CRLF");
            return false;
        }
        const QByteArray l = last ? lines[i] : lines[i].chopped(1);
        for (const char c : l)
            if ((c < 0x20 && c != '\t') || c == 0x7f) {
                *why = QStringLiteral("a control character in a part's head");
                return false;
            }
        const qsizetype colon = l.indexOf(':');
        if (colon <= 0) {
            *why = QStringLiteral("a part's head line is not a field");
            return false;
        }
        if (l.left(colon).trimmed().toLower() != "content-disposition")
            continue; // Content-Type and the like say nothing the files' checks do not
        const QByteArray value = l.mid(colon + 1).trimmed();
        if (disposition || !value.toLower().startsWith("form-data")) {
            *why = QStringLiteral("a part that is not one form-data field");
            return false;
        }
        disposition = true;
        part->name = parameter(value, "name");
        part->fileName = parameter(value, "filename");
    }
    if (!disposition || !isToken(part->name)) {
        *why = QStringLiteral("a part without a plain field name");
        return false;
    }
    return true;
}

QByteArray MultipartForm::parameter(const QByteArray &disposition, const char *name)
{
    const QByteArray key = QByteArray(name) + '=';
    for (const QByteArray &bit : disposition.split(';')) {
        const QByteArray b = bit.trimmed();
        if (!b.toLower().startsWith(key))
            continue;
        QByteArray v = b.mid(key.size());
        if (v.size() >= 2 && v.startsWith('"') && v.endsWith('"'))
            v = v.mid(1, v.size() - 2);
        return v;
    }
    return QByteArray();
}

const MultipartForm::Part *MultipartForm::find(const QList<Part> &parts, const char *name)
{
    for (const Part &p : parts)
        if (p.name == name)
            return &p;
    return nullptr;
}
