#pragma once

#include <QObject>

// Whether the controller is there to answer: offline from a command that went unanswered until
// a command is answered or a report arrives. It also knows whether a test page holds the
// command port, and lets a command take the port back from the offline status query. The
// panel's main() makes one as a child of the application, where the command wrappers, the
// status channel and the test socket find it (ApplicationParts); without one nobody listens.
class ControllerPresence : public QObject
{
    Q_OBJECT

public:
    explicit ControllerPresence(QObject *parent = nullptr) : QObject(parent) {}
    // The application's, or nullptr.
    static ControllerPresence *find();

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
    void setOffline(bool offline);

    bool offline_ = false;
    int holds_ = 0;
};
