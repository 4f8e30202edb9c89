#pragma once

#include <QObject>

// Whether the controller is there to answer: offline from a command that went unanswered until
// a command is answered or a report arrives. It also knows whether a test page holds the
// command port, and lets a command take the port back from the offline status query.
class ControllerPresence : public QObject
{
    Q_OBJECT

public:
    static ControllerPresence &instance();

    bool offline() const { return offline_; }
    // The outcome of every command that waits for its reply.
    void commandEnded(bool answered);
    // Any report that came from the controller's address.
    void reportArrived();

    // A test page's socket holds the command port from its bind until it goes.
    void holdPort(bool held);
    bool portHeld() const { return holds_ > 0; }
    // A command is about to bind the command port: whoever holds it only to listen lets go.
    void commandStarting();

Q_SIGNALS:
    void offlineChanged(bool offline);
    void portWanted();

private:
    ControllerPresence() = default;
    void setOffline(bool offline);

    bool offline_ = false;
    int holds_ = 0;
};
