#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The job a stick file belongs to: the bytes of its name up to the first dot, decoded as every
// outside name is (UTF-8, else GBK) and refused unless they make one plain name; and the
// job's other files on the stick, whatever the case of their extensions.
class StickJobName
{
public:
    // The job name of a stick file name; empty when it is not one plain name. nameBytes (if
    // given) gets the name's own bytes, to find the job's files by.
    static QString of(const QByteArray &fileName, QByteArray *nameBytes = nullptr);
    // The eight case mixtures of a three-letter extension in the order they are tried: all
    // lower, last upper, middle upper, last two upper, first upper, first and last upper,
    // first two upper, all upper.
    static QList<QByteArray> caseForms(const QByteArray &ext);
    // folder/nameBytes.EXT in the first case form that is a file; empty when none is.
    static QByteArray find(const QByteArray &folder, const QByteArray &nameBytes, const QByteArray &ext);
};
