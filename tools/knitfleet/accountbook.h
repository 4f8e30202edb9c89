#pragma once

#include "dashboard/dbtarget.h"
#include "dashboard/userstore.h"

#include <QHash>
#include <QObject>
#include <QThreadPool>
#include <QTimer>

#include <memory>

class FleetDb;

// The accounts serve logs in against, as knitfleet user keeps them in the database: read at
// start, then again every kRefreshMs off the event loop, so an account added, changed or
// removed takes effect within that. A failed read keeps the accounts as they were. Once any
// account was seen, logins stay needed (an emptied table locks everyone out rather than
// opening the dashboard).
class AccountBook : public QObject
{
    Q_OBJECT

public:
    static constexpr int kRefreshMs = 5000;

    explicit AccountBook(const DbTarget &target, QObject *parent = nullptr);
    ~AccountBook() override;

    bool load(QString *why);
    // Reads again every kRefreshMs from now on.
    void start();
    bool loginNeeded() const { return seen_; }
    const UserStore::Account *find(const QByteArray &name) const;
    // A hash to check an unknown user's password against, so a guess costs the same either way.
    QByteArray anyHash() const;

Q_SIGNALS:
    void changed();

private:
    static bool read(const DbTarget &target, QList<UserStore::Account> *accounts, QString *why);
    void take(const QList<UserStore::Account> &accounts);

    const DbTarget target_;
    // The refresh's connection, made, used and dropped on the pool's one thread, which never
    // expires; opened again after a failed read.
    std::unique_ptr<FleetDb> db_;
    QHash<QByteArray, UserStore::Account> accounts_;
    QThreadPool pool_;
    QTimer timer_;
    bool reading_ = false;
    bool seen_ = false;
};
