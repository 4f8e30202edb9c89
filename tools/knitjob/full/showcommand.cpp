// knitjob show FILE.cnt [--row N]: every program row's fields as the panel's display texts.
#include "subcommand.h"

#include "jobmaker.h"
#include "toolcommandline.h"

#include "data/cntfile.h"
#include "data/cntprogram.h"
#include "data/rowcodecrow.h"

#include <QTextStream>

#include <memory>

namespace {

void printRow(QTextStream &out, const CntProgram::Image &image, int records, int r)
{
    CntRow row;
    CntProgram::row(image, records, r, &row);
    CntRowTexts texts;
    RowCodecRow::decode(row, CarrierRemap(), &texts);
    out << "row: " << r << "\n";
    for (const auto &field : RowCodecRow::fields(texts))
        out << "  " << field.first << ": " << field.second << "\n";
}

const char kSummary[] = "Prints every program row's fields (or one row's) as the main screen's row display names them.";

int run(const QStringList &args)
{
    ToolCommandLine cl(QStringLiteral("knitjob show"), QString::fromUtf8(kSummary));
    cl.parser().addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("A .cnt program."), QStringLiteral("FILE.cnt"));
    cl.parser().addOption({QStringLiteral("row"), QStringLiteral("Only this row, counted from 1."), QStringLiteral("N")});
    int status = 0;
    int only = 0;
    if (!cl.parse(args, &status) || !cl.number(QStringLiteral("row"), 1, JobMaker::kMaxRows, &only, &status))
        return status;
    const QStringList files = cl.parser().positionalArguments();
    if (files.size() != 1)
        return cl.usageError(QStringLiteral("needs one FILE.cnt"));
    const QString path = files.first();
    QByteArray bytes;
    const int code = CntFile::check(path, &bytes).code;
    if (!CntFile::isAccepted(code))
        return cl.fail(code == CntCheck::OpenFailed ? EX_NOINPUT : EX_DATAERR, path + QStringLiteral(": ") + CntFile::message(code));
    auto image = std::make_unique<CntProgram::Image>();
    const CntLoad load = CntProgram::loadInto(bytes, *image);
    if (!load.ok)
        return cl.fail(EX_DATAERR, path + QStringLiteral(": ") + CntFile::message(CntCheck::OpenFailed));
    const int rows = qMax(0, load.records - 1);
    if (only > rows)
        return cl.usageError(QStringLiteral("--row %1 is beyond the program's %2 rows").arg(only).arg(rows));
    QTextStream out(stdout);
    out << "rows: " << rows << "\n";
    out << "length: " << load.rows << "\n";
    for (int r = only > 0 ? only : 1; r <= (only > 0 ? only : rows); ++r)
        printRow(out, *image, load.records, r);
    return 0;
}

const Subcommand::Registration registration("show", "show FILE.cnt [--row N]", kSummary, run);

} // namespace
