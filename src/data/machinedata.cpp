#include "machinedata.h"

#include "configini.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>
#include <vector>

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
    const bool changed = std::memcmp(image, bytes.constData(), n) != 0;
    if (changed)
        std::memcpy(image, bytes.constData(), n);
    if (endProgram(n, records) || changed)
        Q_EMIT programChanged();
}

bool MachineData::readProgram(QIODevice &device, qint64 size, int records)
{
    unsigned char *image = program_->data();
    const bool fits = size >= 0 && size <= qint64(ProgramImage::size);
    const std::size_t n = fits ? std::size_t(size) : 0;
    bool changed = false;
    std::size_t at = 0;
    if (programUsed_ == 0) {
        // An empty image (the start-up's) has only zeros to compare with: the file goes
        // straight into it, and no other copy of it is made.
        const qint64 got = device.read(reinterpret_cast<char *>(image), qint64(n));
        at = got > 0 ? std::size_t(got) : 0;
        changed = !std::all_of(image, image + at, [](unsigned char b) { return b == 0; });
    } else {
        // Each piece is compared before it is copied: the change signal stays exact without
        // a copy of the old program.
        std::vector<char> piece(std::min<std::size_t>(n, 16 * 1024));
        while (at < n) {
            const qint64 want = qint64(std::min(piece.size(), n - at));
            if (device.read(piece.data(), want) != want)
                break;
            if (std::memcmp(image + at, piece.data(), std::size_t(want)) != 0) {
                std::memcpy(image + at, piece.data(), std::size_t(want));
                changed = true;
            }
            at += std::size_t(want);
        }
    }
    const bool whole = fits && at == n && device.bytesAvailable() == 0;
    if (!whole) {
        // Part of a file is no program: the image is emptied rather than left half-written.
        programUsed_ = std::max(programUsed_, at);
        changed = endProgram(0, 0) || changed;
    } else {
        changed = endProgram(n, records) || changed;
    }
    if (changed)
        Q_EMIT programChanged();
    return whole;
}

bool MachineData::endProgram(std::size_t end, int records)
{
    unsigned char *image = program_->data();
    const std::size_t stale = programUsed_ > end ? programUsed_ - end : 0;
    const bool changed = records != programRecords_
        || !std::all_of(image + end, image + end + stale, [](unsigned char b) { return b == 0; });
    std::memset(image + end, 0, stale);
    programUsed_ = end;
    programRecords_ = records;
    return changed;
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
