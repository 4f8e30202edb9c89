#include "csvtable.h"

CsvTable::CsvTable(const QStringList &header)
    : rows_{header}
{
}

void CsvTable::add(const QStringList &cells)
{
    rows_.append(cells);
}

QString CsvTable::cell(const QString &text)
{
    QString t = text;
    if (!t.isEmpty() && QStringLiteral("=+-@").contains(t.front()))
        t.prepend(QLatin1Char('\''));
    if (t.contains(QLatin1Char('"')) || t.contains(QLatin1Char(',')) || t.contains(QLatin1Char('\n'))
        || t.contains(QLatin1Char('\r')) || t != text)
        return QLatin1Char('"') + t.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
    return t;
}

QByteArray CsvTable::bytes() const
{
    QByteArray out("\xEF\xBB\xBF");
    for (const QStringList &row : rows_) {
        QStringList cells;
        for (const QString &c : row)
            cells.append(cell(c));
        out += cells.join(QLatin1Char(',')).toUtf8() + "\r\n";
    }
    return out;
}
