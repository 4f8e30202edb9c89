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
    if (word >= 0)
        state.updateFileWord(QLatin1String(kName), kSize, word, value);
}
