// Every widget and end-to-end test's application gets the parts the panel's main() makes,
// before the test runs: the controller's presence, the TFTP port's history, the palettes'
// set and the job events. (The buzzer is the tests' own to make: KNIT_BUZZER=off keeps the
// panel's silent.)
#include "data/jobevents.h"
#include "link/controllerpresence.h"
#include "link/tftpporthistory.h"
#include "ui/builtpalettes.h"

#include <QCoreApplication>

namespace {

void makePanelParts()
{
    new ControllerPresence(QCoreApplication::instance());
    new TftpPortHistory(QCoreApplication::instance());
    new BuiltPalettes(QCoreApplication::instance());
    new JobEvents(QCoreApplication::instance());
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(makePanelParts)
