// Fuzzes the job name taken from a stick file's name (its bytes up to the first dot, decoded
// as UTF-8 or GBK) and the case forms of an extension: a name that comes out must be one plain
// path component, and the bytes it is found by must be the file name's own.
#include "data/jobname.h"
#include "logic/files/stickjobname.h"
#include "seeds.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray fileName(reinterpret_cast<const char *>(data), qsizetype(size));
    QByteArray bytes;
    const QString name = StickJobName::of(fileName, &bytes);
    if (!name.isEmpty()) {
        ABORT_IF(!JobName::isSafe(name) || name.contains(QLatin1Char('/')) || name.startsWith(QLatin1Char('.'))
            || !fileName.startsWith(bytes) || bytes.contains('.') || (bytes.size() < fileName.size() && fileName[bytes.size()] != '.'));
    }
    const QByteArray ext = fileName.left(3);
    const QList<QByteArray> forms = StickJobName::caseForms(ext);
    for (const QByteArray &form : forms)
        ABORT_IF(forms.size() != 8 || form.toLower() != ext.toLower() || form.size() != ext.size());
    return 0;
}

std::vector<std::string> knit_fuzz_seeds()
{
    return {"ABC.CNT", "\xb2\xe2\xca\xd4.pAT", ".cnt", "a b;$(x).pat", std::string("x\0y.cnt", 7), std::string(300, 'n') + ".cnt"};
}
