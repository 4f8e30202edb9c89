#include "mototest.h"

#include "data/machinedata.h"
#include "data/testblocks.h"

#include <Qt>

#include <iterator>

namespace {

const char kMotorHelp[] = QT_TRANSLATE_NOOP("MotoTest", "0 = 归  零     1 --- 5 = 单独测试   7 = 归零(全部)   8 = 649(全部)");
const char kSetHelp[] = QT_TRANSLATE_NOOP("MotoTest", "0 = 全部测试   1 --- 8 = 单独测试   < 确定 > 键 = 循环测试");
const char kCamHelp[] = QT_TRANSLATE_NOOP("MotoTest", "0 = 全部测试   1 --- 6 = 单独测试   < 确定 > 键 = 循环测试");

constexpr unsigned short kReturnToZero = 65535;
const unsigned short kPositions[] = {0, 100, 200, 400, 649}; // keys 1-5
constexpr unsigned short kFarPosition = 649;

// Cycle steps: density positions of patterns 0 and 2, and of pattern 1; one blade after the
// other with a rest between; all off, all on.
const unsigned short kSweep[] = {0, 100, 200, 400, 649, 400, 200, 100};
const unsigned short kFromZero[] = {0, 100, 0, 200, 0, 400, 0, 649};
const unsigned short kBladeSteps[] = {1, 0, 2, 0, 4, 0, 8, 0, 16, 0, 32, 0, 64, 0, 128, 0, 0, 0, 0, 0};
const unsigned short kOffOn[] = {0, 255};

constexpr int kSlowTicks = 15; // 750 ms
constexpr unsigned char kCamBits = 0x3F;

// Frequency tests: the frequency in the high byte, 0xFF in the low one.
const unsigned short kFrequencies[] = {0x14FF, 0x28FF, 0x3CFF};

QString position(unsigned short value)
{
    return QString::number(static_cast<short>(value));
}

} // namespace

MotoTest::MotoTest(int systems, Sender sender)
    : systems_(systems == 2 ? 2 : 1)
    , send_(std::move(sender))
{
}

void MotoTest::load(const MachineData &data)
{
    for (int g = 0; g < TestBlocks::kBedGroups; ++g) {
        for (int kind = 0; kind < TestBlocks::kKinds; ++kind) {
            const auto object = std::size_t(objectOf(g, kind));
            const unsigned short word = data.carriageTest().word(std::size_t(TestBlocks::motoBlockWord(g, kind)));
            switch (elementOf(g, kind)) {
            case DensityMotor:
                motors_[object] = position(word);
                break;
            case Selector:
                blades_[object] = static_cast<unsigned char>(word);
                break;
            default:
                cams_[object] = static_cast<unsigned char>(word & kCamBits);
                break;
            }
        }
    }
    for (int set = 0; set < TestBlocks::kGuideSets; ++set)
        guides_[std::size_t(set)] = static_cast<unsigned char>(data.carriageTest().word(std::size_t(TestBlocks::guideBlockWord(set))));
}

QList<int> MotoTest::groups() const
{
    return systems_ == 2 ? QList<int>{0, 1, 2, 3, 4, 5} : QList<int>{0, 2, 4};
}

MotoTest::Element MotoTest::elementOf(int group, int kind)
{
    if (group >= TestBlocks::kBedGroups)
        return Guides;
    static const Element kinds[TestBlocks::kKinds] = {DensityMotor, Selector, Cams, Selector, DensityMotor};
    return kind >= 0 && kind < TestBlocks::kKinds ? kinds[kind] : DensityMotor;
}

int MotoTest::objectOf(int group, int kind)
{
    if (group >= TestBlocks::kBedGroups)
        return group - TestBlocks::kBedGroups;
    const int s = TestBlocks::groupSystem(group);
    if (kind == 2)
        return s;
    // Kinds 0 and 1 are the system's first motor and selector, 3 and 4 its second.
    return 2 * s + (kind >= 3 ? 1 : 0);
}

QString MotoTest::help() const
{
    switch (element()) {
    case DensityMotor:
        return tr(kMotorHelp);
    case Cams:
        return tr(kCamHelp);
    default:
        return tr(kSetHelp);
    }
}

bool MotoTest::select(int group, int kind)
{
    if (!groups().contains(group) || kind < 0 || kind >= TestBlocks::kKinds)
        return false;
    group_ = group;
    // A yarn-guide group keeps the bed kind, so that going back up returns to it.
    if (group < TestBlocks::kBedGroups)
        kind_ = kind;
    return true;
}

bool MotoTest::move(int key)
{
    const QList<int> shown = groups();
    const int at = shown.indexOf(group_);
    switch (key) {
    case Qt::Key_Left:
        return group_ < TestBlocks::kBedGroups && kind_ > 0 && select(group_, kind_ - 1);
    case Qt::Key_Right:
        return group_ < TestBlocks::kBedGroups && kind_ < TestBlocks::kKinds - 1 && select(group_, kind_ + 1);
    case Qt::Key_Up:
        return at > 0 && select(shown[at - 1], kind_);
    case Qt::Key_Down:
        return at + 1 < shown.size() && select(shown[at + 1], kind_);
    default:
        return false;
    }
}

void MotoTest::digit(int d)
{
    const int obj = object();
    switch (element()) {
    case DensityMotor:
        if (d == 0)
            send_(Position, static_cast<unsigned char>(obj), kReturnToZero);
        else if (d >= 1 && d <= 5)
            send_(Position, static_cast<unsigned char>(obj), kPositions[d - 1]);
        else if (d == 7 || d == 8)
            send_(Position, kAllMotors, d == 7 ? 0 : kFarPosition);
        return;
    default: {
        // The states as the controller reported them, with the chosen elements switched over.
        const int elements = element() == Cams ? 6 : 8;
        const int all = (1 << elements) - 1;
        if (d < 0 || d > elements)
            return;
        const Type type = element() == Cams ? CamStates : element() == Selector ? Blades : GuideStates;
        send_(type, static_cast<unsigned char>(obj), static_cast<unsigned short>((pattern(element(), obj) ^ (d == 0 ? all : 1 << (d - 1))) & all));
        return;
    }
    }
}

unsigned char MotoTest::pattern(Element element, int object) const
{
    switch (element) {
    case Selector:
        return blades(object);
    case Cams:
        return cams(object);
    case Guides:
        return guides(object);
    default:
        return 0;
    }
}

int MotoTest::objectCount(Element e) const
{
    switch (e) {
    case DensityMotor:
    case Selector:
        return 4 * systems_;
    case Cams:
        return 2 * systems_;
    case Guides:
        return systems_;
    }
    return 1;
}

int MotoTest::ticksPerStep() const
{
    return element() == Selector ? 1 : kSlowTicks;
}

void MotoTest::startCycle(int pattern)
{
    cycling_ = true;
    pattern_ = qBound(0, pattern, 4);
    cycleElement_ = element();
    ownObject_ = object();
    step_ = 0;
    objectIndex_ = 0;
    ticks_ = 0;
    ticksPerStep_ = ticksPerStep();
    sendStep();
}

void MotoTest::tick()
{
    if (!cycling_ || ++ticks_ < ticksPerStep_)
        return;
    ticks_ = 0;
    const bool allObjects = pattern_ >= 3;
    const int steps = cycleElement_ == DensityMotor ? int(std::size(kSweep))
                      : cycleElement_ == Selector   ? int(std::size(kBladeSteps))
                                                    : int(std::size(kOffOn));
    if (++step_ == steps) {
        step_ = 0;
        if (allObjects)
            objectIndex_ = (objectIndex_ + 1) % objectCount(cycleElement_);
    }
    sendStep();
}

void MotoTest::sendStep()
{
    const auto object = static_cast<unsigned char>(pattern_ >= 3 ? objectIndex_ : ownObject_);
    switch (cycleElement_) {
    case DensityMotor:
        send_(Position, object, pattern_ == 1 || pattern_ == 4 ? kFromZero[step_] : kSweep[step_]);
        break;
    case Selector:
        send_(Blades, object, kBladeSteps[step_]);
        break;
    case Cams:
        send_(CamStates, object, kOffOn[step_]);
        break;
    case Guides:
        send_(GuideStates, object, kOffOn[step_]);
        break;
    }
}

bool MotoTest::startFrequency(int test)
{
    if (element() != Selector || group_ >= TestBlocks::kBedGroups || test < 0 || test > 2)
        return false;
    frequencyObject_ = object();
    frequencyValue_ = kFrequencies[test];
    send_(FrequencyStart, static_cast<unsigned char>(frequencyObject_), frequencyValue_);
    return true;
}

void MotoTest::stopFrequency()
{
    // Twice, as the controller has always been told: one lost datagram must not leave the
    // selector humming.
    for (int i = 0; i < 2; ++i)
        send_(FrequencyStop, static_cast<unsigned char>(frequencyObject_), frequencyValue_);
}

bool MotoTest::applyReport(const unsigned char *report)
{
    const int type = report[6];
    const int object = report[7];
    const auto value = static_cast<unsigned short>(report[8] | (report[9] << 8));
    switch (type) {
    case Position:
        if (object == kAllMotors) {
            motors_.fill(position(value));
            return true;
        }
        [[fallthrough]];
    case CounterOn:
    case CounterOff:
        if (object >= kMotors)
            return false;
        motors_[std::size_t(object)] = type == Position ? position(value)
                                       : QLatin1String(type == CounterOn ? "N->Y:" : "Y->N:") + QString::number(value);
        return true;
    case CamStates:
        if (object >= int(cams_.size()))
            return false;
        cams_[std::size_t(object)] = report[8] & kCamBits;
        return true;
    case Blades:
        if (object >= int(blades_.size()))
            return false;
        blades_[std::size_t(object)] = report[8];
        return true;
    case GuideStates:
        if (object >= int(guides_.size()))
            return false;
        guides_[std::size_t(object)] = report[8];
        return true;
    case FrequencyStart:
    case FrequencyStop:
        frequency_ = type == FrequencyStart;
        return true;
    default:
        return false;
    }
}
