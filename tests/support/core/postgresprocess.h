#pragma once

#include <QString>
#include <QTemporaryDir>

// A throwaway PostgreSQL cluster of a test's own: initdb in a temporary directory, the server
// on a free loopback port with its socket in that directory, trust login for the user "knit".
// Run as root, the cluster belongs to "nobody" (PostgreSQL refuses to run as root). It can be
// stopped and started again on the same port. The system's clusters are never touched.
class PostgresProcess
{
public:
    ~PostgresProcess();
    // False, naming the packages, when PostgreSQL's server programs are absent.
    static bool available(QString *why);
    bool start(QString *why);
    bool stop();
    // The database URL knitfleet takes.
    QString url() const;
    int port() const { return port_; }

private:
    bool run(const QString &program, const QStringList &args, QString *why);

    QTemporaryDir dir_;
    QString bin_;
    int port_ = 0;
    bool running_ = false;
};
