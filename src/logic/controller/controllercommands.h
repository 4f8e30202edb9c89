#pragma once

#include <functional>

class QObject;

// The single commands the pages send to the controller, each one datagram that blocks until
// its reply or time-out (the link's command wrappers): pages ask here, so no page names the
// link. Results: true when the controller answered in time.
namespace ControllerCommands {

// The status query: true when the controller answered that the carriage stands. An unanswered
// query reads as running.
bool stopped();
// A command to the machine as a whole (Protocol::ActionCommand to Protocol::MachineObject).
bool action(unsigned short action, unsigned short value);
// Any command with its object and two values; sendLong waits as long as the bed calibration
// needs (20 s).
bool send(unsigned char command, unsigned char object, unsigned short value1, unsigned short value2);
bool sendLong(unsigned char command, unsigned char object, unsigned short value1, unsigned short value2);
// Sends *value as the second value; when answered *value becomes the reply's result, else it
// stays as it was.
bool query(unsigned char command, unsigned char object, unsigned short value1, unsigned short *value);

// The controller's presence (the application's ControllerPresence): offline from an unanswered
// command until an answer or a report. changed(offline) at each change, for as long as context
// lives; without a presence part the controller counts as present and nothing is reported.
bool offline();
void followPresence(QObject *context, std::function<void(bool offline)> changed);

} // namespace ControllerCommands
