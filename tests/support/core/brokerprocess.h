#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A mosquitto broker of a test's own on a free loopback port (anonymous, or one user with a
// password; nothing kept on disk, $SYS counters every second), which can be paused, killed and
// started again on the same port; and mosquitto_sub to see what a topic holds, independent of
// the panel's client.
class BrokerProcess
{
public:
    ~BrokerProcess() { stop(); }

    // False, with a reason naming scripts/setup.sh, when mosquitto or its clients are absent.
    static bool available(QString *why);

    // Before start: only this user is let in (the reading helpers log in anonymously).
    void setLogin(const QString &user, const QString &password) { login_ = {user, password}; }
    // The same port on every start after the first.
    bool start(QString *error = nullptr);
    void stop();
    void kill();
    void pause(bool paused);

    int port() const { return port_; }
    qint64 processId() const { return process_.processId(); }
    QString url() const { return QStringLiteral("mqtt://127.0.0.1:%1").arg(port_); }

    // mosquitto_pub of payload under topic, retained if asked; true once it is out.
    bool publish(const QString &topic, const QByteArray &payload, bool retain = false) const;
    // The payload retained under topic, empty when none or under a login.
    QByteArray retained(const QString &topic) const;
    // mosquitto_sub on filter until the process goes, writing "RETAINED TOPIC PAYLOAD" lines
    // (RETAINED 1 or 0), the broker's version among them: for tests whose event loop must keep
    // running meanwhile. Returns once the subscription stands, all it printed still to be read;
    // nullptr when it did not stand within ten seconds.
    QProcess *subscribe(const QString &filter, QObject *parent) const;

private:
    QStringList subArgs(const QString &filter) const;

    QTemporaryDir dir_;
    QProcess process_;
    int port_ = 0;
    QStringList login_;
};
