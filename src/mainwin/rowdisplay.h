#pragma once

#include <QList>
#include <QObject>
#include <QRect>
#include <QString>

#include <array>

class MachineData;
class TouchLabel;
class PatToPicture;
class QLabel;
class QWidget;
struct CntRow;

// The current-row display of the main screen: the block panel, rollers and racking, loop
// panel, carriers, speed, direction and row number, all redrawn from a row number, the loaded
// program and the parameter blocks.
class RowDisplay : public QObject
{
    Q_OBJECT

public:
    static constexpr int kGroups = 4;
    static constexpr int kCells = 10;
    static constexpr unsigned short kLastRow = 8002;
    // Groups above this lie outside the 30-group tables of the work parameters.
    static constexpr int kTableGroups = 30;

    enum Roller { Bed, MainRoller, AuxiliaryRoller, OpeningRoller };
    enum Loop { LoopStart, LoopEnd, LoopCount, LoopLeft };

    // Builds every label as a child of parent, in the stacking order of the main screen.
    // What it shows comes from machine: the loaded program and the system and work blocks.
    RowDisplay(const MachineData &machine, QWidget *parent);

    // Places the block panel for one knitting system, or hides it for the pattern picture.
    void place(int systems, int picture);

    void paintRow(unsigned short row);
    void setRow(unsigned short line);
    void clearRow();
    static QString toNum(int width, unsigned short value);

    // The loop panel's values, written by the status channel.
    void setLoopRows(unsigned short start, unsigned short end);
    void setLoopCounts(unsigned short count, unsigned short remaining);

    void setPicture(PatToPicture *picture) { picture_ = picture; }

    TouchLabel *cell(int group, int index) const { return groups_[std::size_t(group)][std::size_t(index)]; }
    QLabel *rollerValue(Roller r) const { return rollers_[std::size_t(r)]; }
    TouchLabel *rollerCaption(Roller r) const { return rollerCaptions_[std::size_t(r)]; }
    QLabel *loopValue(Loop l) const { return loops_[std::size_t(l)]; }
    QLabel *carrier(int system) const { return carrier_[std::size_t(system)]; }
    QLabel *parking(int system) const { return parking_[std::size_t(system)]; }
    TouchLabel *parkingCaption() const { return parkingCaption_; }
    TouchLabel *carrierCaption() const { return carrierCaption_; }
    TouchLabel *speed() const { return speed_; }
    // The speed the speed field shows, in m/s.
    double speedShown() const { return speed_ms_; }
    // The fixed captions again, in the operator's language.
    void retranslate();
    TouchLabel *speedGroup() const { return speedGroup_; }
    QLabel *direction() const { return direction_; }
    TouchLabel *rowNumber() const { return rowNumber_; }
    // The labels that open a page when touched; the screen lock decides whether they react.
    QList<TouchLabel *> touchLabels() const;

    // Left, top, right, bottom as the screen's layout gives them; cells that meet share the edge.
    static QRect span(int left, int top, int right, int bottom);

Q_SIGNALS:
    void densityTouched();
    void speedTouched();
    void rollerTouched();
    void parkingTouched();
    void carrierTouched();
    void rowNumberTouched();

private:
    // The controller's speed figures over this are m/s.
    static constexpr double kSpeedScale = 100000;
    void showSpeed(double scaled);
    void buildGroups(QWidget *parent);
    void buildRollers(QWidget *parent);
    void buildBottom(QWidget *parent);
    void placeGroup(int group, bool mirrored);
    void setGroupVisible(int group, bool visible);
    void paintDensity(const CntRow &copy, unsigned short line);
    // "g#-" and the group's word of a work-parameter table, or "g#-" "---" for a group past it.
    QString groupValue(int group, int tableBase, int stride, int offset) const;

    const MachineData &machine_;
    std::array<std::array<TouchLabel *, kCells>, kGroups> groups_{};
    std::array<QLabel *, 4> rollers_{};
    std::array<TouchLabel *, 4> rollerCaptions_{};
    std::array<QLabel *, 4> loops_{};
    std::array<QLabel *, 4> loopCaptions_{};
    std::array<QLabel *, 2> carrier_{};
    std::array<QLabel *, 2> parking_{};
    TouchLabel *parkingCaption_ = nullptr;
    TouchLabel *carrierCaption_ = nullptr;
    TouchLabel *speed_ = nullptr;
    double speed_ms_ = 0;
    TouchLabel *speedGroup_ = nullptr;
    QLabel *direction_ = nullptr;
    TouchLabel *rowNumber_ = nullptr;
    PatToPicture *picture_ = nullptr;
};
