// The reference for the main screen's cost under a flood of reports (bench/speed.sh): the
// panel's own status channel taking, parsing and tracing the controller's reports on the same
// ports, with no screen at all. Runs until killed; says on standard error when both ports are
// bound.
#include "data/machinedata.h"
#include "link/statuschannel.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    MachineData machine;
    StatusChannel channel(machine);
    if (!channel.open()) {
        std::fprintf(stderr, "statusonly: the report ports cannot be bound\n");
        return 1;
    }
    std::fprintf(stderr, "statusonly: listening\n");
    return app.exec();
}
