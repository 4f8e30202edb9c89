#pragma once

#include "blocksizes.h"
#include "watchedblock.h"

#include <QByteArray>
#include <QIODevice>
#include <QObject>
#include <QString>

#include <array>
#include <memory>

// The machine's data as the panel keeps it: the parameter blocks, the loaded program, the
// controller's configuration and the current job's name, zero and empty at first. main() owns
// the one instance and hands it to what needs it; knitsim, the tools and each test keep their
// own. Each part has its change signal, sent once for every write that changed a byte of it.
class MachineData : public QObject
{
    Q_OBJECT

public:
    using ProgramImage = ParamBlock<kCntImageSize>;
    // Config.ini's fields: 0-2 the dark colour, 3 the cam-board type, 4 and 5 option flags.
    using ControllerConfig = std::array<int, 6>;

    explicit MachineData(QObject *parent = nullptr);
    ~MachineData() override;

    // The system parameters, the controller's file.sys.
    WatchedBlock<kSystemSize> &system() { return system_; }
    const WatchedBlock<kSystemSize> &system() const { return system_; }
    // The current job's work parameters, the image of its .wrk.
    WatchedBlock<kWorkSize> &work() { return work_; }
    const WatchedBlock<kWorkSize> &work() const { return work_; }
    // The controller's running state: its file.knt, then what its reports change.
    WatchedBlock<kCurSize> &controllerState() { return controllerState_; }
    const WatchedBlock<kCurSize> &controllerState() const { return controllerState_; }
    // What the panel works out for the controller: the pattern's width, the stop row.
    WatchedBlock<kRunSize> &runSettings() { return runSettings_; }
    const WatchedBlock<kRunSize> &runSettings() const { return runSettings_; }
    // The input/output test's readings and the carriage test's values.
    WatchedBlock<kTestIoSize> &ioTest() { return ioTest_; }
    const WatchedBlock<kTestIoSize> &ioTest() const { return ioTest_; }
    WatchedBlock<kTestMotoSize> &carriageTest() { return carriageTest_; }
    const WatchedBlock<kTestMotoSize> &carriageTest() const { return carriageTest_; }
    // The panel's own settings (para/management.bin): desktop picture, list order, screen saver.
    WatchedBlock<kManagementSize> &panelSettings() { return panelSettings_; }
    const WatchedBlock<kManagementSize> &panelSettings() const { return panelSettings_; }
    // The carrier-parking corrections by carriage speed (para/speed.mth).
    WatchedBlock<kCarrierSpeedSize> &carrierSpeedTable() { return carrierSpeedTable_; }
    const WatchedBlock<kCarrierSpeedSize> &carrierSpeedTable() const { return carrierSpeedTable_; }
    // The personalisation block as the controller sent it (config.cfg), and the panel's copy
    // of it (para/checkconfig.cfg).
    WatchedBlock<kConfigCheckSize> &controllerPersonalisation() { return controllerPersonalisation_; }
    const WatchedBlock<kConfigCheckSize> &controllerPersonalisation() const { return controllerPersonalisation_; }
    WatchedBlock<kConfigCheckSize> &panelPersonalisation() { return panelPersonalisation_; }
    const WatchedBlock<kConfigCheckSize> &panelPersonalisation() const { return panelPersonalisation_; }

    // The loaded knitting program (.cnt) and how many whole records its file held.
    const ProgramImage &program() const { return *program_; }
    int programRecords() const { return programRecords_; }
    // The program as a file's bytes (the first 1 MiB of them), zeros after: only the bytes the
    // file and the program before it held are compared and written, so a small job touches a
    // small part of the image and needs no second one.
    void setProgram(const QByteArray &bytes, int records);
    // setProgram() from the next size bytes of device (at most the image's size), read into
    // the image itself (straight into an empty one, a compared piece at a time over a
    // program), so a 1 MiB file is never held beside it. False when the device held fewer or
    // more bytes: the program is then empty.
    bool readProgram(QIODevice &device, qint64 size, int records);

    const ControllerConfig &controllerConfig() const { return controllerConfig_; }
    void setControllerConfig(const ControllerConfig &config);

    // The current knitting job's name; empty while there is none.
    const QString &jobName() const { return jobName_; }
    void setJobName(const QString &name);

Q_SIGNALS:
    void systemChanged();
    void workChanged();
    void controllerStateChanged();
    void runSettingsChanged();
    void ioTestChanged();
    void carriageTestChanged();
    void panelSettingsChanged();
    void carrierSpeedTableChanged();
    void controllerPersonalisationChanged();
    void panelPersonalisationChanged();
    void programChanged();
    void controllerConfigChanged();
    void jobNameChanged();

private:
    WatchedBlock<kSystemSize> system_;
    WatchedBlock<kWorkSize> work_;
    WatchedBlock<kCurSize> controllerState_;
    WatchedBlock<kRunSize> runSettings_;
    WatchedBlock<kTestIoSize> ioTest_;
    WatchedBlock<kTestMotoSize> carriageTest_;
    WatchedBlock<kManagementSize> panelSettings_;
    WatchedBlock<kCarrierSpeedSize> carrierSpeedTable_;
    WatchedBlock<kConfigCheckSize> controllerPersonalisation_;
    WatchedBlock<kConfigCheckSize> panelPersonalisation_;
    // 1 MiB, never on a stack, and zeroed by calloc rather than cleared when made: the
    // pages a job never reaches are never written, so they cost no resident memory.
    struct FreeImage
    {
        void operator()(ProgramImage *image) const;
    };
    // Zeros what the program held past end and sets its records: true when that changed a
    // byte or the count.
    bool endProgram(std::size_t end, int records);
    std::unique_ptr<ProgramImage, FreeImage> program_;
    int programRecords_ = 0;
    std::size_t programUsed_ = 0; // every byte of the image from here on is zero
    ControllerConfig controllerConfig_;
    QString jobName_;
};
