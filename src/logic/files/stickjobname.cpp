#include "stickjobname.h"

#include "data/jobname.h"
#include "platform/nativefs.h"

QString StickJobName::of(const QByteArray &fileName, QByteArray *nameBytes)
{
    const int dot = fileName.indexOf('.');
    const QByteArray base = dot < 0 ? fileName : fileName.left(dot);
    const QString name = JobName::decode(base);
    if (!JobName::isSafe(name))
        return QString();
    if (nameBytes)
        *nameBytes = base;
    return name;
}

QList<QByteArray> StickJobName::caseForms(const QByteArray &ext)
{
    const QByteArray lower = ext.toLower();
    QList<QByteArray> forms;
    // Bit 0 raises the last letter, bit 1 the middle one, bit 2 the first.
    for (int mix = 0; mix < 8; ++mix) {
        QByteArray form = lower;
        for (int i = 0; i < form.size() && i < 3; ++i) {
            if ((mix & (1 << (form.size() - 1 - i))) && form[i] >= 'a' && form[i] <= 'z')
                form[i] = char(form[i] - 'a' + 'A');
        }
        forms.append(form);
    }
    return forms;
}

QByteArray StickJobName::find(const QByteArray &folder, const QByteArray &nameBytes, const QByteArray &ext)
{
    for (const QByteArray &form : caseForms(ext)) {
        const QByteArray path = NativeFs::join(folder, nameBytes + '.' + form);
        NativeFs::Entry e;
        if (NativeFs::stat(path, &e) && !e.dir)
            return path;
    }
    return QByteArray();
}
