#include "machinedata.h"

#include "configini.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>

namespace {

// calloc gives zeroed bytes without writing them (fresh pages from the kernel are zero); a
// block of bytes with trivial copy and destruction lives in them as they are, as it would
// in memcpy'd storage, so no constructor needs to clear it again.
MachineData::ProgramImage *zeroedImage()
{
    using Image = MachineData::ProgramImage;
    static_assert(std::is_trivially_copyable_v<Image> && std::is_trivially_destructible_v<Image>);
    void *bytes = std::calloc(1, sizeof(Image));
    if (!bytes)
        throw std::bad_alloc();
    return static_cast<Image *>(bytes);
}

} // namespace

void MachineData::FreeImage::operator()(ProgramImage *image) const
{
    std::free(image);
}

MachineData::MachineData(QObject *parent)
    : QObject(parent)
    , system_([this] { Q_EMIT systemChanged(); })
    , work_([this] { Q_EMIT workChanged(); })
    , controllerState_([this] { Q_EMIT controllerStateChanged(); })
    , runSettings_([this] { Q_EMIT runSettingsChanged(); })
    , ioTest_([this] { Q_EMIT ioTestChanged(); })
    , carriageTest_([this] { Q_EMIT carriageTestChanged(); })
    , panelSettings_([this] { Q_EMIT panelSettingsChanged(); })
    , carrierSpeedTable_([this] { Q_EMIT carrierSpeedTableChanged(); })
    , controllerPersonalisation_([this] { Q_EMIT controllerPersonalisationChanged(); })
    , panelPersonalisation_([this] { Q_EMIT panelPersonalisationChanged(); })
    , program_(zeroedImage())
    , controllerConfig_(ConfigIni::defaults())
{
}

MachineData::~MachineData() = default;

void MachineData::setProgram(const QByteArray &bytes, int records)
{
    unsigned char *image = program_->data();
    const std::size_t n = std::min(std::size_t(bytes.size()), ProgramImage::size);
    const std::size_t stale = programUsed_ > n ? programUsed_ - n : 0;
    const bool same = records == programRecords_ && std::memcmp(image, bytes.constData(), n) == 0
        && std::all_of(image + n, image + n + stale, [](unsigned char b) { return b == 0; });
    programUsed_ = n;
    if (same)
        return;
    std::memcpy(image, bytes.constData(), n);
    std::memset(image + n, 0, stale);
    programRecords_ = records;
    Q_EMIT programChanged();
}

void MachineData::setControllerConfig(const ControllerConfig &config)
{
    if (config == controllerConfig_)
        return;
    controllerConfig_ = config;
    Q_EMIT controllerConfigChanged();
}

void MachineData::setJobName(const QString &name)
{
    if (name == jobName_)
        return;
    jobName_ = name;
    Q_EMIT jobNameChanged();
}
