#include "accountbook.h"

#include "refusallog.h"

#include "dashboard/fleetdb.h"

AccountBook::AccountBook(const DbTarget &target, QObject *parent)
    : QObject(parent)
    , target_(target)
{
    pool_.setMaxThreadCount(1);
    pool_.setExpiryTimeout(-1);
    timer_.setInterval(kRefreshMs);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (reading_)
            return;
        reading_ = true;
        pool_.start([this] {
            QList<UserStore::Account> accounts;
            QString why;
            if (!db_ || !db_->isOpen())
                db_ = std::make_unique<FleetDb>(target_);
            const bool ok = (db_->isOpen() || db_->open(&why)) && UserStore::list(db_->db(), &accounts, &why);
            if (!ok)
                db_.reset();
            QMetaObject::invokeMethod(this, [this, ok, accounts, why] {
                reading_ = false;
                if (ok)
                    take(accounts);
                else
                    RefusalLog::line("accounts", QStringLiteral("cannot read the accounts, they stay as they were: %1").arg(why));
            }, Qt::QueuedConnection);
        });
    });
}

AccountBook::~AccountBook()
{
    timer_.stop();
    pool_.start([this] { db_.reset(); });
    pool_.waitForDone();
}

bool AccountBook::read(const DbTarget &target, QList<UserStore::Account> *accounts, QString *why)
{
    FleetDb db(target);
    return db.open(why) && UserStore::list(db.db(), accounts, why);
}

bool AccountBook::load(QString *why)
{
    QList<UserStore::Account> accounts;
    if (!read(target_, &accounts, why))
        return false;
    take(accounts);
    return true;
}

void AccountBook::start()
{
    timer_.start();
}

void AccountBook::take(const QList<UserStore::Account> &accounts)
{
    QHash<QByteArray, UserStore::Account> next;
    for (const UserStore::Account &a : accounts)
        next.insert(a.name, a);
    seen_ = seen_ || !next.isEmpty();
    const bool same = next.size() == accounts_.size() && std::all_of(next.cbegin(), next.cend(), [this](const UserStore::Account &a) {
        const auto it = accounts_.constFind(a.name);
        return it != accounts_.constEnd() && it->role == a.role && it->hash == a.hash;
    });
    accounts_ = next;
    if (!same)
        Q_EMIT changed();
}

const UserStore::Account *AccountBook::find(const QByteArray &name) const
{
    const auto it = accounts_.constFind(name);
    return it == accounts_.constEnd() ? nullptr : &*it;
}

QByteArray AccountBook::anyHash() const
{
    return accounts_.isEmpty() ? QByteArray() : accounts_.constBegin()->hash;
}
