#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// A table as CSV for a spreadsheet: UTF-8 with a byte-order mark, RFC 4180 quoting, CRLF line
// ends. A cell that starts with = + - or @ gets a leading ' so that a job or alarm text is
// never taken for a formula.
class CsvTable
{
public:
    explicit CsvTable(const QStringList &header);
    void add(const QStringList &cells);
    QByteArray bytes() const;
    static QString cell(const QString &text);

private:
    QList<QStringList> rows_;
};
