#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>

#include <array>
#include <functional>

class MachineData;

// What the carriage test page sends and shows, without widgets: the selected group and
// element kind, the states the controller reported for every density motor, needle selector,
// cam and yarn guide, the test commands of the keys, and the automatic cycles, stepped by a
// 50 ms tick.
class MotoTest
{
    Q_DECLARE_TR_FUNCTIONS(MotoTest)

public:
    static constexpr int kTickMs = 50;
    static constexpr int kGroups = 6;
    static constexpr int kMotors = 8;

    enum Element { DensityMotor, Selector, Cams, Guides };
    // Test types of the command and of the controller's reports.
    enum Type : unsigned char {
        Position = 0,
        CamStates = 1,
        Blades = 2,
        GuideStates = 3,
        CounterOn = 4,
        CounterOff = 5,
        FrequencyStart = 0x82,
        FrequencyStop = 0x92,
    };
    static constexpr int kAllMotors = 8; // the object of a position for every motor at once

    using Sender = std::function<void(unsigned char type, unsigned char object, unsigned short value)>;

    // systems: knitting systems of the carriage (1 or 2), which decide the groups shown and the
    // objects a whole-machine cycle walks.
    MotoTest(int systems, Sender sender);

    // The states of data's carriage test block, as the entry filled it from the controller's file.
    void load(const MachineData &data);

    // The groups shown, in table order: 0, 2, 4 with one system, 0-5 with two.
    QList<int> groups() const;
    int group() const { return group_; }
    // 0-4 in a needle-bed group; 0 in a yarn-guide group, which is one set of guides.
    int kind() const { return group_ < 4 ? kind_ : 0; }
    int testNumber() const { return group_ * 5 + kind(); }
    Element element() const { return elementOf(group_, kind()); }
    static Element elementOf(int group, int kind);
    // The object the commands for kind k of group g address: a motor or selector 2s or 2s + 1,
    // the cams of system s, a set of yarn guides.
    static int objectOf(int group, int kind);
    int object() const { return objectOf(group_, kind()); }
    QString help() const;

    // False, changing nothing, for a group not shown or a kind out of range.
    bool select(int group, int kind);
    // Qt::Key_Left/Right step through the kinds, Up/Down through the groups shown; false at an
    // edge.
    bool move(int key);

    // A digit key on the selection.
    void digit(int d);

    // Automatic test: pattern 0-4 (Enter and A are 0). The first step goes out at once.
    void startCycle(int pattern);
    void stopCycle() { cycling_ = false; }
    bool cycling() const { return cycling_; }
    // Ticks between two steps: 1 for a needle selector of a bed group, 15 for the others.
    int ticksPerStep() const;
    void tick();

    // Selector frequency test 0-2 (20, 40, 60 Hz); false, sending nothing, unless a needle
    // selector of a bed group is selected.
    bool startFrequency(int test);
    void stopFrequency();
    bool frequencyRunning() const { return frequency_; }

    // A report of the controller (12 bytes); false when ignored (an unknown type, or an object
    // with no element behind it).
    bool applyReport(const unsigned char *report);

    // The on/off states of a set of selector blades, cams or yarn guides, bit i element i.
    unsigned char pattern(Element element, int object) const;
    unsigned char cams(int system) const { return at(cams_, system); }
    unsigned char blades(int selector) const { return at(blades_, selector); }
    unsigned char guides(int set) const { return at(guides_, set); }
    QString motorText(int motor) const { return motor >= 0 && motor < kMotors ? motors_[std::size_t(motor)] : QString(); }

private:
    template <std::size_t N>
    static unsigned char at(const std::array<unsigned char, N> &a, int i) { return i >= 0 && i < int(N) ? a[std::size_t(i)] : 0; }
    int objectCount(Element e) const;
    void sendStep();

    int systems_;
    Sender send_;
    int group_ = 0;
    int kind_ = 0;
    std::array<unsigned char, 4> cams_{};
    std::array<unsigned char, 8> blades_{};
    std::array<unsigned char, 2> guides_{};
    std::array<QString, kMotors> motors_;
    bool frequency_ = false;
    unsigned short frequencyValue_ = 0;
    int frequencyObject_ = 0;

    bool cycling_ = false;
    int pattern_ = 0;
    Element cycleElement_ = DensityMotor;
    int ownObject_ = 0;
    int step_ = 0;
    int objectIndex_ = 0;
    int ticks_ = 0;
    int ticksPerStep_ = 1;
};
