#include "workblock.h"

#include "simstate.h"

#include "data/worklayout.h"
#include "platform/atomicfile.h"

#include <QFile>

void WorkBlock::received(SimState &state, const QString &name)
{
    if (state.root().isEmpty() || !name.endsWith(QLatin1String(".wrk")))
        return;
    QFile f(state.filePath(name));
    if (!f.open(QIODevice::ReadOnly))
        return;
    QByteArray block = f.read(kSize);
    block.append(QByteArray(kSize - block.size(), '\0'));
    AtomicFile::save(state.filePath(QLatin1String(kName)), block);
}

void WorkBlock::setValue(SimState &state, int group, int index, quint16 value)
{
    const int word = WorkLayout::word(group, index);
    if (word < 0 || state.root().isEmpty())
        return;
    // The word written in place: a whole-group run of 30 values must not cost 30 synced saves,
    // or knitsim answers slower than a controller does.
    QFile f(state.filePath(QLatin1String(kName)));
    if (f.size() != kSize || !f.open(QIODevice::ReadWrite)) {
        state.updateFileWord(QLatin1String(kName), kSize, word, value);
        return;
    }
    const char bytes[2] = {char(value & 0xff), char(value >> 8)};
    if (!f.seek(2 * word) || f.write(bytes, 2) != 2)
        state.updateFileWord(QLatin1String(kName), kSize, word, value);
}
