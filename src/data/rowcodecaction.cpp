#include "rowcodecaction.h"

#include "rowcodecbuffer.h"

#include <QCoreApplication>

#include <cstring>

namespace {

const char kTransfer[] = QT_TRANSLATE_NOOP("RowCodecAction", "翻针");
const char kKnit[] = QT_TRANSLATE_NOOP("RowCodecAction", "编织");
const char kReceive[] = QT_TRANSLATE_NOOP("RowCodecAction", "接针");
const char kTuck[] = QT_TRANSLATE_NOOP("RowCodecAction", "集圈");

struct ActionTexts
{
    const char *a;
    const char *h;
};

ActionTexts textsOf(unsigned char action)
{
    switch (action) {
    case 1: return {kTransfer, ""};
    case 7: return {kKnit, kReceive};
    case 8: return {kKnit, ""};
    case 10:
    case 11: return {"", kTuck};
    case 13:
    case 14: return {kKnit, kTuck};
    default: return {"", ""};
    }
}

// The record keeps the source words; the screens show them in the panel's language.
QString shownAction(const char *text)
{
    return *text ? QCoreApplication::translate("RowCodecAction", text) : QString();
}

} // namespace

void actionTexts(char *aText, std::size_t aSize, char *hText, std::size_t hSize, unsigned char action)
{
    if (aText && aSize > 0)
        std::memset(aText, 0, aSize);
    if (hText && hSize > 0)
        std::memset(hText, 0, hSize);
    const ActionTexts t = textsOf(action);
    RowCodecBuffer::put(aText, aSize, t.a, std::strlen(t.a));
    RowCodecBuffer::put(hText, hSize, t.h, std::strlen(t.h));
}

void actionTexts(QString *aText, QString *hText, unsigned char action)
{
    const ActionTexts t = textsOf(action);
    if (aText)
        *aText = shownAction(t.a);
    if (hText)
        *hText = shownAction(t.h);
}

void displayRow(const CntRow *row, CntRow *out, unsigned short mode, unsigned short line,
                        int systems)
{
    (void)mode;
    (void)line;
    if (!row || !out)
        return;
    std::memmove(out, row, sizeof *out);
    if (systems > 1)
        return;
    std::memcpy(&out->block[2], &out->block[0], 2 * sizeof(CntSystemBlock));
    out->mouth[1] = out->mouth[0];
    std::memcpy(out->pic_line[1], out->pic_line[0], sizeof out->pic_line[0]);
}
