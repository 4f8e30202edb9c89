#include "rowcodecrow.h"

#include "rowcodecaction.h"
#include "rowcodecbed.h"
#include "rowcodecbuffer.h"
#include "rowcodecselect.h"

namespace {

template <std::size_t N>
void decimal(char (&out)[N], unsigned long value)
{
    RowCodecBuffer::putDecimal(out, N, value);
}

const char *const kBlockNames[4] = {"I.1", "I.2", "II.1", "II.2"};
const char *const kSystemNames[2] = {"I", "II"};

} // namespace

void RowCodecRow::decode(const CntRow &row, const CarrierRemap &remap, CntRowTexts *out)
{
    if (!out)
        return;
    for (int b = 0; b < 4; ++b) {
        const CntSystemBlock &src = row.block[b];
        CntRowTexts::Block &dst = out->block[b];
        decimal(dst.pat_line, CntRow::get16(src.pat_line));
        selectorText(dst.select_a, sizeof dst.select_a, CntRow::get16(src.select_a));
        selectorText(dst.select_h, sizeof dst.select_h, CntRow::get16(src.select_h));
        actionTexts(dst.a_text, sizeof dst.a_text, dst.h_text, sizeof dst.h_text, src.action);
    }
    for (int s = 0; s < 2; ++s) {
        multiCarrierText(out->mouth[s], sizeof out->mouth[s], row.mouth[s].mouth_flag,
                                  row.mouth[s].mouth_mask, remap);
        decimal(out->pic_line[s], CntRow::get16(row.pic_line[s]));
    }
    decimal(out->density_group, row.density_group);
    decimal(out->speed_group, row.speed_group);
    decimal(out->rora_main, row.rora_main);
    rollerText(out->rora_aux, sizeof out->rora_aux, row.rora_aux);
    rollerText(out->rora_open, sizeof out->rora_open, row.rora_open);
    bedText(out->bed, sizeof out->bed, row.bed_flag, row.bed_count);
    decimal(out->mouth_park, row.mouth_park);
    decimal(out->end_flag, row.end_flag);
    decimal(out->back_to, CntRow::get16(row.back_line) + 1ul);
    decimal(out->loop_count, row.loop_count);
}

QVector<QPair<QString, QString>> RowCodecRow::fields(const CntRowTexts &texts)
{
    QVector<QPair<QString, QString>> out;
    auto add = [&out](const QString &name, const char *value) { out.append({name, QString::fromUtf8(value)}); };
    for (int b = 0; b < 4; ++b) {
        const QString prefix = QLatin1String(kBlockNames[b]) + QLatin1Char('.');
        const CntRowTexts::Block &blk = texts.block[b];
        add(prefix + QLatin1String("pat_line"), blk.pat_line);
        add(prefix + QLatin1String("action_a"), blk.a_text);
        add(prefix + QLatin1String("action_h"), blk.h_text);
        add(prefix + QLatin1String("select_a"), blk.select_a);
        add(prefix + QLatin1String("select_h"), blk.select_h);
    }
    for (int s = 0; s < 2; ++s)
        add(QLatin1String(kSystemNames[s]) + QLatin1String(".mouth"), texts.mouth[s]);
    add(QStringLiteral("density_group"), texts.density_group);
    add(QStringLiteral("speed_group"), texts.speed_group);
    add(QStringLiteral("rora_main"), texts.rora_main);
    add(QStringLiteral("rora_aux"), texts.rora_aux);
    add(QStringLiteral("rora_open"), texts.rora_open);
    add(QStringLiteral("bed"), texts.bed);
    add(QStringLiteral("mouth_park"), texts.mouth_park);
    for (int s = 0; s < 2; ++s)
        add(QLatin1String(kSystemNames[s]) + QLatin1String(".pic_line"), texts.pic_line[s]);
    add(QStringLiteral("end_flag"), texts.end_flag);
    add(QStringLiteral("back_to"), texts.back_to);
    add(QStringLiteral("loop_count"), texts.loop_count);
    return out;
}
