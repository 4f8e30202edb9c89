#pragma once

#include <QObject>

class MachineData;
class StatusChannel;
class StatusProbe;
class StatusReports;

// The controller's status as the main screen follows it: the unsolicited status and needle
// reports, written into the machine data and told by reports() one signal per report in
// arrival order, and, while the panel is offline, the status query that notices the
// controller's return.
class ControllerStatus : public QObject
{
    Q_OBJECT

public:
    explicit ControllerStatus(MachineData &data, QObject *parent = nullptr);

    // Binds the report ports and starts the offline query. A port that cannot be bound leaves
    // its reports unread.
    void start();
    // The reports' receiver, for the tests and benchmarks that feed or count reports.
    StatusChannel *channel() const { return channel_; }
    // The reports' signals.
    StatusReports *reports() const;

Q_SIGNALS:
    // While offline, the controller answered the status query: running unless it stands.
    void answeredOffline(bool running);

private:
    StatusChannel *channel_;
    StatusProbe *probe_ = nullptr;
};
