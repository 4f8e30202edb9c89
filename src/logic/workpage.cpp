#include "workpage.h"

#include "data/worklayout.h"

namespace {

// The 0-100 pages accept 100 although their help line says 99: what the controller takes.
const char kHundredHelp[] = "参数范围 : 0 ~ 99     M : 整组修改     Pu : 上一页     Pd : 下一页 ";
const QStringList kCarrierTitles{"纱嘴1", "纱嘴2", "纱嘴3", "纱嘴4", "纱嘴5", "纱嘴6"};

} // namespace

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
        return n <= 9 ? QStringLiteral("第 %1  组").arg(n) : QStringLiteral("第%1 组").arg(n);
    }
    case Carriers:
        return QStringLiteral("%1号纱嘴").arg(row + 1);
    case Pieces:
        return QStringLiteral("衣片%1").arg(row + 1);
    case Replacement:
        break;
    }
    return QStringLiteral("替换为");
}

QString WorkPage::helpLine(int page) const
{
    const QString line = QString::fromUtf8(help);
    return groupInHelp ? line + QStringLiteral("第  %1 组").arg(page + 1) : line;
}

const WorkPage &WorkPage::density()
{
    static const WorkPage p{"density", WorkLayout::Density, 0, 650, 4, 8, 3, 0, 1, 8, 64,
                            {"前1", "前2", "后1", "后2"}, Groups,
                            "参数范围 : 0 ~ 650     M : 整组修改     Pu : 上一页     Pd : 下一页 ", GroupWords};
    return p;
}

const WorkPage &WorkPage::speed()
{
    static const WorkPage p{"speed", WorkLayout::Speed, 0, 100, 1, 8, 3, 240, 0, 1, 8, {"速 度"}, Groups,
                            kHundredHelp, ColumnEntries, true};
    return p;
}

const WorkPage &WorkPage::rora()
{
    static const WorkPage p{"rora", WorkLayout::Rora, 0, 100, 3, 8, 3, 270, 30, 1, 8,
                            {"主 罗 拉", "副 罗 拉", "开合罗拉"}, Groups, kHundredHelp, ColumnEntries};
    return p;
}

const WorkPage &WorkPage::mouth()
{
    static const WorkPage p{"mouth", WorkLayout::Mouth, 0, 30, 2, 6, 8, 360, 8, 1, 16, {"积家1", "积家2"}, Carriers,
                            "参数范围 : 0 ~ 30     Pu : 上一组     Pd : 下一组     当前组 : ", NoWhole, false, true};
    return p;
}

const WorkPage &WorkPage::songsha()
{
    static const WorkPage p{"songsha", WorkLayout::Songsha, 0, 100, 1, 8, 3, 504, 0, 1, 8, {"送纱器"}, Groups,
                            kHundredHelp, ColumnEntries};
    return p;
}

const WorkPage &WorkPage::mulmouth()
{
    static const WorkPage p{"dialogmulmouth", WorkLayout::Replace, 1, 8, 6, 8, 1, 704, 1, 8, 0, kCarrierTitles, Pieces,
                            "参数范围 : 1 ~ 8 ( 片展开纱嘴替换 ) ", NoWhole, false, false, 80, 80};
    return p;
}

const WorkPage &WorkPage::onemouth()
{
    static const WorkPage p{"dialogonemouth", WorkLayout::Replace, 1, 8, 6, 1, 1, 696, 1, 0, 0, kCarrierTitles,
                            Replacement, "参数范围 : 1 ~ 8 ( 单片纱嘴替换 ) ", NoWhole, false, false, 80, 80};
    return p;
}
