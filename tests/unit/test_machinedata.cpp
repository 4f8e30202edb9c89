// The machine's data tells of its changes: each part's signal once for a write that changed it,
// none for a write that left it as it was, once for a whole part loaded at a time, and no other
// part's signal. Faults caught: a change not signalled (a screen left showing an old value), a
// signal for an equal write (a repaint for every report that repeats the last), a signal per
// byte of a load, or a write that signals another part.
#include "data/machinedata.h"

#include <QSignalSpy>
#include <QTest>

#include <functional>
#include <memory>
#include <vector>

namespace {

using Write = std::function<void(MachineData &, int)>; // 0: one value changed, 1: all of it

struct Part
{
    const char *name;
    void (MachineData::*signal)();
    Write write;
};

template <std::size_t N>
Part block(const char *name, void (MachineData::*signal)(), WatchedBlock<N> &(MachineData::*part)())
{
    return {name, signal, [part](MachineData &d, int whole) {
                whole ? void((d.*part)().fill(QByteArray(int(N), '\x5a'))) : (d.*part)().setWord(1, 7);
            }};
}

void program(MachineData &d, int whole)
{
    auto image = std::make_unique<MachineData::ProgramImage>();
    image->fill(QByteArray(whole ? 5121 : 1, '\x5a'));
    d.setProgram(*image, whole ? 41 : 1);
}

const std::vector<Part> kParts{
    block("system", &MachineData::systemChanged, &MachineData::system),
    block("work", &MachineData::workChanged, &MachineData::work),
    block("controller state", &MachineData::controllerStateChanged, &MachineData::controllerState),
    block("run settings", &MachineData::runSettingsChanged, &MachineData::runSettings),
    block("io test", &MachineData::ioTestChanged, &MachineData::ioTest),
    block("carriage test", &MachineData::carriageTestChanged, &MachineData::carriageTest),
    block("panel settings", &MachineData::panelSettingsChanged, &MachineData::panelSettings),
    block("carrier speed table", &MachineData::carrierSpeedTableChanged, &MachineData::carrierSpeedTable),
    block("controller personalisation", &MachineData::controllerPersonalisationChanged, &MachineData::controllerPersonalisation),
    block("panel personalisation", &MachineData::panelPersonalisationChanged, &MachineData::panelPersonalisation),
    {"program", &MachineData::programChanged, program},
    {"controller config", &MachineData::controllerConfigChanged,
     [](MachineData &d, int whole) {
         using Config = MachineData::ControllerConfig;
         d.setControllerConfig(whole ? Config{1, 2, 3, 1, 1, 1} : Config{85, 0, 255, 2, 0, 0});
     }},
    {"job name", &MachineData::jobNameChanged, [](MachineData &d, int whole) { d.setJobName(QString::fromUtf8(whole ? "毛衫 2" : "W1")); }},
};

} // namespace

class TestMachineData : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void oncePerChange_data()
    {
        QTest::addColumn<int>("part");
        for (std::size_t i = 0; i < kParts.size(); ++i)
            QTest::addRow("%s", kParts[i].name) << int(i);
    }
    void oncePerChange()
    {
        QFETCH(int, part);
        MachineData data;
        std::vector<std::unique_ptr<QSignalSpy>> spies;
        for (const Part &p : kParts)
            spies.push_back(std::make_unique<QSignalSpy>(&data, p.signal));
        // Each write twice: the second leaves the part as it was.
        for (int whole : {0, 0, 1, 1})
            kParts[std::size_t(part)].write(data, whole);
        for (std::size_t i = 0; i < kParts.size(); ++i)
            QCOMPARE(spies[i]->count(), int(i) == part ? 2 : 0);
    }
};

QTEST_GUILESS_MAIN(TestMachineData)
#include "test_machinedata.moc"
