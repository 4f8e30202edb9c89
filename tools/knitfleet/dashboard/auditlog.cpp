#include "auditlog.h"

#include "fleetdb.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

// At most max characters, each control character (and the backslash that marks them) as \xNN.
// Never a null string: Qt binds that as NULL.
QString escaped(const QString &text, int max)
{
    QString out = QStringLiteral("");
    for (const QChar c : text.left(max)) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || c == QLatin1Char('\\') || c.category() == QChar::Other_Format
            || c.category() == QChar::Separator_Line || c.category() == QChar::Separator_Paragraph)
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

} // namespace

AuditLog::AuditLog(FleetDb *db)
    : db_(db)
{
}

AuditLog::Entry AuditLog::bounded(const Entry &e)
{
    return {e.t, escaped(e.action, kMaxField), escaped(e.user, kMaxField), escaped(e.machine, kMaxField),
            escaped(e.address, kMaxField), escaped(e.detail, kMaxDetail)};
}

void AuditLog::record(const QString &action, const QByteArray &user, const QString &machine, const QString &address,
                      const QString &detail, qint64 nowMs)
{
    // A flood of failed logins while the database is away loses its oldest rows, counted.
    if (int(pending_.size()) >= kMaxPending) {
        pending_.pop_front();
        ++dropped_;
    }
    // Cut here, escaped as written.
    pending_.push_back({nowMs, action.left(kMaxField), QString::fromUtf8(user.left(kMaxField * 4)).left(kMaxField),
                        machine.left(kMaxField), address.left(kMaxField), detail.left(kMaxDetail)});
}

bool AuditLog::flush()
{
    if (pending_.empty())
        return true;
    if (!db_->isOpen())
        return false;
    QSqlDatabase &db = db_->db();
    bool ok = db.transaction();
    QString why;
    for (auto it = pending_.cbegin(); ok && it != pending_.cend(); ++it)
        ok = write(db, *it, &why);
    if (!ok || !db.commit()) {
        db.rollback();
        return false;
    }
    pending_.clear();
    return true;
}

bool AuditLog::write(QSqlDatabase &db, const Entry &e, QString *why)
{
    const Entry b = bounded(e);
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO audit (t, action, user_name, machine, address, detail) VALUES (?, ?, ?, ?, ?, ?)"));
    for (const QVariant &v : QVariantList{b.t, b.action, b.user, b.machine, b.address, b.detail})
        q.addBindValue(v);
    if (q.exec())
        return true;
    *why = q.lastError().text().trimmed();
    return false;
}

bool AuditLog::read(QSqlDatabase &db, const Filter &f, QList<Entry> *out, bool *more)
{
    QString sql = QStringLiteral("SELECT t, action, user_name, machine, address, detail FROM audit WHERE t >= ? AND t < ?");
    QVariantList values{f.from, f.to};
    const QList<QPair<QString, QString>> exact{{QStringLiteral("user_name"), f.user}, {QStringLiteral("machine"), f.machine},
                                               {QStringLiteral("action"), f.action}};
    for (const auto &c : exact)
        if (!c.second.isEmpty()) {
            sql += QStringLiteral(" AND %1 = ?").arg(c.first);
            values.append(c.second);
        }
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(sql + QStringLiteral(" ORDER BY t DESC LIMIT %1").arg(kMaxRows + 1));
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (!q.exec())
        return false;
    out->clear();
    *more = false;
    while (q.next()) {
        if (out->size() == kMaxRows) {
            *more = true;
            break;
        }
        out->append({q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString(),
                     q.value(4).toString(), q.value(5).toString()});
    }
    return true;
}

bool AuditLog::prune(QSqlDatabase &db, qint64 nowMs, bool *more)
{
    // An hour at a time, as the samples go: a year's backlog never holds the event loop.
    const qint64 cutoff = nowMs - kKeepDays * 86400000LL;
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT MIN(t) FROM audit")) || !q.next())
        return false;
    if (q.value(0).isNull() || q.value(0).toLongLong() >= cutoff)
        return true;
    const qint64 until = qMin(cutoff, q.value(0).toLongLong() + kBatchMs);
    q.prepare(QStringLiteral("DELETE FROM audit WHERE t < ?"));
    q.addBindValue(until);
    *more = *more || until < cutoff;
    return q.exec();
}
