// Feeds arbitrary bytes to the job library's multipart reader: the first line is the
// Content-Type, the rest the body. Nothing may crash; a body that is read gives at most
// kMaxParts parts, each a plain field name once, holding no more than the body.
#include "seeds.h"

#include "dashboard/multipartform.h"

#include <QByteArray>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 64 * 1024)
        return 0;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype line = bytes.indexOf('\n');
    const QByteArray type = line < 0 ? bytes : bytes.left(line);
    const QByteArray body = line < 0 ? QByteArray() : bytes.mid(line + 1);
    QList<MultipartForm::Part> parts;
    QString why;
    const QByteArray boundary = MultipartForm::boundary(type);
    ABORT_IF(boundary.size() > MultipartForm::kMaxBoundary);
    const bool ok = MultipartForm::parse(body, boundary, &parts, &why);
    ABORT_IF(!ok && (!parts.isEmpty() || why.isEmpty()));
    ABORT_IF(parts.size() > MultipartForm::kMaxParts);
    qsizetype held = 0;
    for (const MultipartForm::Part &p : parts) {
        ABORT_IF(p.name.isEmpty() || MultipartForm::find(parts, p.name.constData()) != &p);
        held += p.data.size();
    }
    ABORT_IF(held > body.size());
    return 0;
}

std::vector<std::string> knit_fuzz_seeds()
{
    const std::string type = "multipart/form-data; boundary=XyZ\n";
    return {type + "--XyZ\r\nContent-Disposition: form-data; name=\"name\"\r\n\r\nJOB1\r\n--XyZ\r\n"
                   "Content-Disposition: form-data; name=\"cnt\"; filename=\"JOB1.cnt\"\r\nContent-Type: application/octet-stream\r\n\r\n"
                   + withSum(std::string(128, '\x01')) + "\r\n--XyZ--\r\n",
            type + "--XyZ\r\nContent-Disposition: form-data; name=\"a\"\r\n\r\n1\r\n--XyZ\r\nContent-Disposition: form-data; name=\"a\"\r\n\r\n2\r\n--XyZ--",
            "multipart/form-data; boundary=\"q q\"\n--q q\r\n\r\n--q q--", type + "--XyZ\r\nX: y\r\n\r\n\r\n--XyZ--\r\nextra"};
}
