#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

// A job imported into the job directory or loaded for knitting, told to whoever follows them
// (the telemetry, when telemetry.ini is there): added at start-up, reported by the import and
// the load, on the GUI thread. The panel's main() makes one as a child of the application,
// where the reporters and the telemetry find it (ApplicationParts); without one nobody hears.
class JobEvents : public QObject
{
    Q_OBJECT

public:
    struct Event
    {
        QString event;  // "imported" or "loaded"
        QString job;
        int version = 0; // the library's version; 0 when the job did not come from it
        QString source;  // "library", "usb" or "disk"
        QByteArray sha256[3]; // lower-case hex of the job's .cnt, .pat and .wrk ("" for a missing one)
    };

    class Observer
    {
    public:
        virtual ~Observer() = default;
        virtual void jobEvent(const Event &event) = 0;
    };

    explicit JobEvents(QObject *parent = nullptr) : QObject(parent) {}
    // The application's, or nullptr.
    static JobEvents *find();

    void add(Observer *observer);
    void remove(Observer *observer);
    // The event for the job folder dir (its files NAME.cnt, .pat, .wrk hashed as they are now).
    void report(const QString &event, const QString &dir, const QString &job, int version, const QString &source);
    // report() to the application's instance; nothing when there is none.
    static void reportToApplication(const QString &event, const QString &dir, const QString &job, int version,
                                    const QString &source);
    static QByteArray fileDigest(const QString &path);

private:
    QList<Observer *> observers_;
};
