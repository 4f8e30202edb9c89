#pragma once

#include <QHash>
#include <QObject>
#include <QString>

class ControlServer;
class KnitSimulation;
class SimState;
class StartupService;
class TftpServer;

// The controller taking the job the panel's file manager sends: once the .wrk, .cnt and .pat
// of one name have arrived while group 12 is open, that job is current: its name goes into
// file.knt (offset 40) and its program is loaded for the next start.
class JobReceiver : public QObject
{
    Q_OBJECT

public:
    JobReceiver(SimState *state, StartupService *startup, KnitSimulation *knitting, QObject *parent = nullptr);

    void attach(TftpServer &tftp);
    // Adds the line "job NAME" ("job -" without one) to `state`.
    void registerCommands(ControlServer &control);
    // The current job's name as file.knt holds it.
    QString job() const;

private:
    void onGroup(int group, bool open);
    void onReceived(const QString &file);

    SimState *state_;
    StartupService *startup_;
    KnitSimulation *knitting_;
    QHash<QString, int> arrived_; // job name -> which of its three files came, one bit each
};
