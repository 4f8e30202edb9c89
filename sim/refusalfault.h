#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

class ControlServer;

// `fault refuse CMD GROUP [AFTER]`: the controller stops answering one command of one group
// once it has answered AFTER of them (0: at once), until `fault clear`. A refused datagram is
// journaled but neither answered nor acted on, as when the controller never got it.
class RefusalFault
{
public:
    struct Rule
    {
        int command;
        int group;
        int after;
        int answered = 0;
    };

    // A command server handler: true (with no answer) for a refused datagram.
    bool handle(const QByteArray &datagram, QByteArray *answer);
    void registerCommands(ControlServer &control);

    const QList<Rule> &rules() const { return rules_; }

private:
    QList<Rule> rules_;
};
