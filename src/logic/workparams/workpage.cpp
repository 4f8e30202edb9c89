#include "workpage.h"

#include "data/worklayout.h"

#include <QCoreApplication>

namespace {

// The 0-100 pages accept 100 although their help line says 99: what the controller takes.
const char kHundredHelp[] = QT_TRANSLATE_NOOP("WorkPage", "参数范围 : 0 ~ 99     M : 整组修改     Pu : 上一页     Pd : 下一页 ");
const QStringList kCarrierTitles{QT_TRANSLATE_NOOP("WorkPage", "纱嘴1"), QT_TRANSLATE_NOOP("WorkPage", "纱嘴2"), QT_TRANSLATE_NOOP("WorkPage", "纱嘴3"), QT_TRANSLATE_NOOP("WorkPage", "纱嘴4"), QT_TRANSLATE_NOOP("WorkPage", "纱嘴5"), QT_TRANSLATE_NOOP("WorkPage", "纱嘴6")};

} // namespace

QString WorkPage::text(const char *source)
{
    return QCoreApplication::translate("WorkPage", source);
}

QList<int> WorkPage::wholeWords(int column, int row, int page) const
{
    QList<int> words;
    if (whole == GroupWords) {
        const int first = word(0, row, page);
        for (int k = 0; k < WorkLayout::kDensityWordsPerGroup; ++k)
            words << first + k * columnStride;
    } else if (whole == ColumnEntries) {
        const int first = base + column * columnStride;
        for (int k = 0; k < WorkLayout::kGroups30; ++k)
            words << first + k * rowStride;
    }
    return words;
}

QString WorkPage::rowLabel(int row, int page) const
{
    switch (labels) {
    case Groups: {
        // Padded so that one- and two-digit numbers line up.
        const int n = page * rows + row + 1;
        return n <= 9 ? text(QT_TRANSLATE_NOOP("WorkPage", "第 %1  组")).arg(n) : text(QT_TRANSLATE_NOOP("WorkPage", "第%1 组")).arg(n);
    }
    case Carriers:
        return text(QT_TRANSLATE_NOOP("WorkPage", "%1号纱嘴")).arg(row + 1);
    case Pieces:
        return text(QT_TRANSLATE_NOOP("WorkPage", "衣片%1")).arg(row + 1);
    case Replacement:
        break;
    }
    return text(QT_TRANSLATE_NOOP("WorkPage", "替换为"));
}

QString WorkPage::helpLine(int page) const
{
    const QString line = text(help);
    return groupInHelp ? line + text(QT_TRANSLATE_NOOP("WorkPage", "第  %1 组")).arg(page + 1) : line;
}

const WorkPage &WorkPage::density()
{
    static const WorkPage p{"density", WorkLayout::Density, 0, 650, 4, 8, 3, 0, 1, 8, 64,
                            {QT_TRANSLATE_NOOP("WorkPage", "前1"), QT_TRANSLATE_NOOP("WorkPage", "前2"), QT_TRANSLATE_NOOP("WorkPage", "后1"), QT_TRANSLATE_NOOP("WorkPage", "后2")}, Groups,
                            QT_TRANSLATE_NOOP("WorkPage", "参数范围 : 0 ~ 650     M : 整组修改     Pu : 上一页     Pd : 下一页 "), GroupWords};
    return p;
}

const WorkPage &WorkPage::speed()
{
    static const WorkPage p{"speed", WorkLayout::Speed, 0, 100, 1, 8, 3, 240, 0, 1, 8, {QT_TRANSLATE_NOOP("WorkPage", "速 度")}, Groups,
                            kHundredHelp, ColumnEntries, true};
    return p;
}

const WorkPage &WorkPage::rollers()
{
    static const WorkPage p{"rollers", WorkLayout::Rollers, 0, 100, 3, 8, 3, 270, 30, 1, 8,
                            {QT_TRANSLATE_NOOP("WorkPage", "主 罗 拉"), QT_TRANSLATE_NOOP("WorkPage", "副 罗 拉"), QT_TRANSLATE_NOOP("WorkPage", "开合罗拉")}, Groups, kHundredHelp, ColumnEntries};
    return p;
}

const WorkPage &WorkPage::carrierParking()
{
    static const WorkPage p{"carrierparking", WorkLayout::CarrierParking, 0, 30, 2, 6, 8, 360, 8, 1, 16, {QT_TRANSLATE_NOOP("WorkPage", "积家1"), QT_TRANSLATE_NOOP("WorkPage", "积家2")}, Carriers,
                            QT_TRANSLATE_NOOP("WorkPage", "参数范围 : 0 ~ 30     Pu : 上一组     Pd : 下一组     当前组 : "), NoWhole, false, true};
    return p;
}

const WorkPage &WorkPage::yarnFeeders()
{
    static const WorkPage p{"yarnfeeders", WorkLayout::YarnFeeders, 0, 100, 1, 8, 3, 504, 0, 1, 8, {QT_TRANSLATE_NOOP("WorkPage", "送纱器")}, Groups,
                            kHundredHelp, ColumnEntries};
    return p;
}

const WorkPage &WorkPage::pieceCarrierReplacement()
{
    static const WorkPage p{"piececarrierreplacement", WorkLayout::Replace, 1, 8, 6, 8, 1, 704, 1, 8, 0, kCarrierTitles, Pieces,
                            QT_TRANSLATE_NOOP("WorkPage", "参数范围 : 1 ~ 8 ( 片展开纱嘴替换 ) "), NoWhole, false, false, 80, 80};
    return p;
}

const WorkPage &WorkPage::carrierReplacement()
{
    static const WorkPage p{"carrierreplacement", WorkLayout::Replace, 1, 8, 6, 1, 1, 696, 1, 0, 0, kCarrierTitles,
                            Replacement, QT_TRANSLATE_NOOP("WorkPage", "参数范围 : 1 ~ 8 ( 单片纱嘴替换 ) "), NoWhole, false, false, 80, 80};
    return p;
}
