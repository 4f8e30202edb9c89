// knitjob show FILE.cnt [--row N]: every program row's fields as the panel's display texts.
#include "subcommand.h"

#include "data/cntfile.h"
#include "data/cntprogram.h"
#include "data/rowcodecrow.h"

#include <QTextStream>

#include <memory>

namespace {

void printRow(QTextStream &out, const CntProgram::Image &image, int records, int r)
{
    STRUCT_CNT row;
    CntProgram::row(image, records, r, &row);
    CntRowTexts texts;
    RowCodecRow::decode(row, MouthRemap(), &texts);
    out << "row: " << r << "\n";
    for (const auto &field : RowCodecRow::fields(texts))
        out << "  " << field.first << ": " << field.second << "\n";
}

int run(const QStringList &args)
{
    QTextStream err(stderr);
    QString path;
    int only = 0;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--row") && i + 1 < args.size()) {
            bool ok = false;
            only = args[++i].toInt(&ok);
            if (!ok || only < 1) {
                err << "knitjob show: --row needs a row number from 1\n";
                return Subcommand::kUsageError;
            }
        } else if (path.isEmpty() && !args[i].startsWith(QLatin1String("--"))) {
            path = args[i];
        } else {
            err << "usage: knitjob show FILE.cnt [--row N]\n";
            return Subcommand::kUsageError;
        }
    }
    if (path.isEmpty()) {
        err << "usage: knitjob show FILE.cnt [--row N]\n";
        return Subcommand::kUsageError;
    }
    const int code = cntfilecheck(path);
    if (!CntFile::isAccepted(code)) {
        err << "knitjob show: " << CntFile::message(code) << "\n";
        return code;
    }
    auto image = std::make_unique<CntProgram::Image>();
    const CntLoad load = CntProgram::loadInto(path, *image);
    if (!load.ok) {
        err << "knitjob show: " << CntFile::message(1) << "\n";
        return 1;
    }
    const int rows = load.records - 1;
    QTextStream out(stdout);
    out << "rows: " << (rows < 0 ? 0 : rows) << "\n";
    out << "length: " << load.rows << "\n";
    if (only > 0) {
        if (only > rows) {
            err << "knitjob show: row " << only << " is beyond the program's " << rows << " rows\n";
            return Subcommand::kUsageError;
        }
        printRow(out, *image, load.records, only);
        return 0;
    }
    for (int r = 1; r <= rows; ++r)
        printRow(out, *image, load.records, r);
    return 0;
}

const Subcommand::Registration registration("show", "show FILE.cnt [--row N]", run);

} // namespace
