#include "rowdisplay.h"

#include "data/cntprogram.h"
#include "data/defaultblocks.h"
#include "data/machinedata.h"
#include "data/numberformat.h"
#include "data/protocol.h"
#include "data/rowcodecaction.h"
#include "data/rowcodecbed.h"
#include "data/rowcodecselect.h"
#include "ui/panelfonts.h"
#include "ui/panelpalettes.h"
#include "ui/pattopicture.h"
#include "ui/touchlabel.h"

namespace {

constexpr int kSpeedBase = 239;
// Group g of a table is word base + g - 1: main roller 269 + g, auxiliary 299 + g, opening 329 + g.
constexpr int kMainRollerBase = 270;
constexpr int kAuxiliaryRollerBase = 300;
constexpr int kOpeningRollerBase = 330;
constexpr int kDensityStride = 8;
constexpr unsigned char kTransfer = 1;
constexpr unsigned char kKnitReceive = 7;
// Group 1 shows block 2, group 2 block 1; groups 3 and 4 the same for system II.
constexpr int kGroupBlock[RowDisplay::kGroups] = {1, 0, 3, 2};
// Word of the density group by group and line parity (even, odd).
constexpr int kDensityWord[RowDisplay::kGroups][2] = {{3, 2}, {1, 0}, {7, 6}, {5, 4}};

QFont boldFont(int points)
{
    QFont f = PanelFonts::panel(points);
    f.setBold(true);
    return f;
}

template <typename Label>
Label *makeLabel(QWidget *parent, const QString &text, const QPalette &palette, QFrame::Shadow shadow)
{
    auto *label = new Label(parent);
    label->setText(text);
    label->setPalette(palette);
    label->setAutoFillBackground(true);
    label->setFrameStyle(QFrame::Panel | shadow);
    label->setLineWidth(1);
    return label;
}

const char *const kCaptionText[RowDisplay::kCells] = {QT_TRANSLATE_NOOP("RowDisplay", "密  度"),
                                                     QT_TRANSLATE_NOOP("RowDisplay", "花板行"), nullptr, nullptr, nullptr, "H",
                                                     nullptr, nullptr, "A", nullptr};
const char *const kRollerText[4] = {QT_TRANSLATE_NOOP("RowDisplay", "摇 床 位"), QT_TRANSLATE_NOOP("RowDisplay", "主 罗 拉"),
                                    QT_TRANSLATE_NOOP("RowDisplay", "辅助罗拉"), QT_TRANSLATE_NOOP("RowDisplay", "开合罗拉")};
const char *const kLoopText[4] = {QT_TRANSLATE_NOOP("RowDisplay", "开 始 行"), QT_TRANSLATE_NOOP("RowDisplay", "结 束 行"),
                                  QT_TRANSLATE_NOOP("RowDisplay", "循环次数"), QT_TRANSLATE_NOOP("RowDisplay", "剩余次数")};

int groupOrDefault(int g, int whenZero)
{
    return g == 0 ? whenZero : g;
}

} // namespace

RowDisplay::RowDisplay(const MachineData &machine, QWidget *parent)
    : QObject(parent)
    , machine_(machine)
{
    buildGroups(parent);
    buildRollers(parent);
    buildBottom(parent);
    // The captions' texts: the same as a change of language sets.
    retranslate();
    place(1, 0);
}

QRect RowDisplay::span(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}

void RowDisplay::buildGroups(QWidget *parent)
{
    const PanelPalettes palettes;
    for (int g = 0; g < kGroups; ++g) {
        for (int c = 0; c < kCells; ++c) {
            const bool caption = kCaptionText[c] != nullptr;
            TouchLabel *label = makeLabel<TouchLabel>(parent, QString(), caption ? palettes.labelWhite() : palettes.labelText(),
                                                QFrame::Raised);
            label->setObjectName(QStringLiteral("block%1cell%2").arg(g + 1).arg(c));
            if (c == 2 || c == 3 || c == 5 || c == 6 || c == 8 || c == 9)
                label->setFont(boldFont(14));
            label->setAlignment(caption ? Qt::AlignCenter : Qt::AlignVCenter | Qt::AlignLeft);
            groups_[std::size_t(g)][std::size_t(c)] = label;
        }
        connect(cell(g, 0), &TouchLabel::released, this, &RowDisplay::densityTouched);
    }
    parkingCaption_ = makeLabel<TouchLabel>(parent, QString(), palettes.labelWhite(), QFrame::Raised);
    parkingCaption_->setAlignment(Qt::AlignCenter);
    connect(parkingCaption_, &TouchLabel::released, this, &RowDisplay::parkingTouched);
    carrierCaption_ = makeLabel<TouchLabel>(parent, QString(), palettes.labelWhite(), QFrame::Raised);
    carrierCaption_->setAlignment(Qt::AlignCenter);
    connect(carrierCaption_, &TouchLabel::released, this, &RowDisplay::carrierTouched);
    for (int s = 0; s < 2; ++s) {
        parking_[std::size_t(s)] = makeLabel<QLabel>(parent, QString(), palettes.labelText(), QFrame::Raised);
        parking_[std::size_t(s)]->setFont(boldFont(14));
        carrier_[std::size_t(s)] = makeLabel<QLabel>(parent, QString(), palettes.labelText(), QFrame::Raised);
        carrier_[std::size_t(s)]->setFont(boldFont(14));
    }
}

void RowDisplay::buildRollers(QWidget *parent)
{
    const PanelPalettes palettes;
    for (int k = 0; k < 4; ++k) {
        const int x = 10 + 155 * k;
        TouchLabel *caption = makeLabel<TouchLabel>(parent, QString(), palettes.labelWhite(), QFrame::Raised);
        caption->setGeometry(span(x, 300, x + 70, 325));
        if (k > 0)
            connect(caption, &TouchLabel::released, this, &RowDisplay::rollerTouched);
        rollerCaptions_[std::size_t(k)] = caption;
        QLabel *value = makeLabel<QLabel>(parent, QString(), palettes.labelText(), QFrame::Raised);
        value->setFont(boldFont(14));
        value->setGeometry(span(x + 70, 300, x + 155, 325));
        rollers_[std::size_t(k)] = value;
        QLabel *loopCaption = makeLabel<QLabel>(parent, QString(), palettes.labelWhite(), QFrame::Raised);
        loopCaption->setGeometry(span(x, 325, x + 70, 350));
        loopCaptions_[std::size_t(k)] = loopCaption;
        QLabel *loop = makeLabel<QLabel>(parent, QString(), palettes.labelText(), QFrame::Raised);
        loop->setFont(boldFont(14));
        loop->setGeometry(span(x + 70, 325, x + 155, 350));
        loops_[std::size_t(k)] = loop;
    }
}

void RowDisplay::buildBottom(QWidget *parent)
{
    const PanelPalettes palettes;
    speed_ = makeLabel<TouchLabel>(parent, tr("速 度: "), palettes.labelWhite(), QFrame::Sunken);
    speed_->setFrameStyle(QFrame::NoFrame);
    speed_->setGeometry(span(10, 365, 90, 390));
    connect(speed_, &TouchLabel::released, this, &RowDisplay::speedTouched);
    speedGroup_ = makeLabel<TouchLabel>(parent, QString(), palettes.labelWhite(), QFrame::Sunken);
    speedGroup_->setFrameStyle(QFrame::NoFrame);
    speedGroup_->setFont(boldFont(14));
    speedGroup_->setGeometry(span(10, 390, 90, 415));
    connect(speedGroup_, &TouchLabel::released, this, &RowDisplay::speedTouched);
    direction_ = makeLabel<QLabel>(parent, QString(), palettes.labelWhite(), QFrame::Sunken);
    direction_->setFrameStyle(QFrame::NoFrame);
    direction_->setFont(boldFont(24));
    direction_->setAlignment(Qt::AlignBottom | Qt::AlignHCenter);
    direction_->setGeometry(span(90, 365, 220, 415));
    rowNumber_ = makeLabel<TouchLabel>(parent, QStringLiteral("0000"), palettes.labelWhite(), QFrame::Sunken);
    rowNumber_->setFrameStyle(QFrame::NoFrame);
    rowNumber_->setFont(boldFont(42));
    rowNumber_->setAlignment(Qt::AlignCenter);
    rowNumber_->setGeometry(span(220, 365, 320, 415));
    connect(rowNumber_, &TouchLabel::released, this, &RowDisplay::rowNumberTouched);
}

void RowDisplay::showSpeed(double scaled)
{
    const QString shown = speedText(scaled, kSpeedScale);
    // The figure as shown, so what the telemetry sends matches the screen to the digit.
    speed_ms_ = shown.section(QLatin1Char(' '), 0, 0).toDouble();
    //: The speed field under the block panel (80 px): "速度:0.48 m/s".
    speed_->setText(tr("速度:%1").arg(shown));
}

void RowDisplay::retranslate()
{
    for (int g = 0; g < kGroups; ++g) {
        for (int c = 0; c < kCells; ++c) {
            if (kCaptionText[c])
                cell(g, c)->setText(tr(kCaptionText[c]));
        }
    }
    parkingCaption_->setText(tr("纱嘴停放"));
    carrierCaption_->setText(tr("纱  嘴"));
    for (std::size_t k = 0; k < 4; ++k) {
        rollerCaptions_[k]->setText(tr(kRollerText[k]));
        loopCaptions_[k]->setText(tr(kLoopText[k]));
    }
}

QList<TouchLabel *> RowDisplay::touchLabels() const
{
    QList<TouchLabel *> labels;
    for (int g = 0; g < kGroups; ++g)
        labels << cell(g, 0);
    labels << rollerCaptions_[MainRoller] << rollerCaptions_[AuxiliaryRoller] << rollerCaptions_[OpeningRoller];
    labels << parkingCaption_ << carrierCaption_ << speed_ << speedGroup_ << rowNumber_;
    return labels;
}

void RowDisplay::placeGroup(int group, bool mirrored)
{
    // Group 2 is group 1 mirrored about y = 190: its caption line at the bottom.
    auto y = [mirrored](int top, int bottom) {
        return mirrored ? std::make_pair(380 - bottom, 380 - top) : std::make_pair(top, bottom);
    };
    const int x[kCells][2] = {{10, 190}, {190, 390}, {390, 630}, {10, 190}, {190, 330},
                              {330, 390}, {390, 630}, {190, 330}, {330, 390}, {390, 630}};
    const int rows[kCells][2] = {{85, 115}, {85, 115}, {85, 115}, {115, 190}, {115, 145},
                                 {115, 145}, {115, 145}, {145, 175}, {145, 175}, {145, 175}};
    for (int c = 0; c < kCells; ++c) {
        const auto [top, bottom] = y(rows[c][0], rows[c][1]);
        cell(group, c)->setGeometry(span(x[c][0], top, x[c][1], bottom));
    }
}

void RowDisplay::setGroupVisible(int group, bool visible)
{
    for (int c = 0; c < kCells; ++c)
        cell(group, c)->setVisible(visible);
}

void RowDisplay::place(int systems, int picture)
{
    Q_UNUSED(systems) // the carriage has one knitting system
    if (picture == 1) {
        setGroupVisible(0, false);
        setGroupVisible(1, false);
        carrier_[0]->hide();
        parking_[0]->hide();
        parkingCaption_->hide();
        if (picture_)
            picture_->show();
        return;
    }
    placeGroup(0, false);
    placeGroup(1, true);
    setGroupVisible(0, true);
    setGroupVisible(1, true);
    parkingCaption_->setGeometry(span(190, 175, 330, 205));
    parking_[0]->setGeometry(span(330, 175, 390, 205));
    carrier_[0]->setGeometry(span(390, 175, 630, 205));
    parkingCaption_->show();
    parking_[0]->show();
    carrier_[0]->show();
    setGroupVisible(2, false);
    setGroupVisible(3, false);
    carrier_[1]->hide();
    parking_[1]->hide();
    carrierCaption_->hide();
    if (picture_)
        picture_->hide();
}

QString RowDisplay::toNum(int width, unsigned short value)
{
    Q_UNUSED(width) // four digits whatever the caller asks for
    return QStringLiteral("%1").arg(value, 4, 10, QLatin1Char('0'));
}

QString RowDisplay::groupValue(int group, int tableBase, int stride, int offset) const
{
    const QString head = QString::number(group) + QStringLiteral("#-");
    if (group > kTableGroups)
        return head + QStringLiteral("---");
    return head + QString::number(machine_.work().word(std::size_t(tableBase + stride * (group - 1) + offset)));
}

void RowDisplay::paintRow(unsigned short row)
{
    if (row > kLastRow)
        return;
    const unsigned short shown = row > 2 ? static_cast<unsigned short>(row - 2) : row;
    rowNumber_->setText(toNum(4, shown));
    if (shown == 0) {
        direction_->setText(QStringLiteral("========="));
        showSpeed(double(machine_.system().word(Protocol::SpeedGroupWord)) * machine_.system().word(Protocol::SpeedUnitWord));
        speedGroup_->setText(QStringLiteral("Rst - ") + QString::number(machine_.system().word(Protocol::SpeedGroupWord)));
        clearRow();
        return;
    }
    direction_->setText(shown % 2 ? QStringLiteral(">>>>>>>>") : QStringLiteral("<<<<<<<<"));
    setRow(shown);
}

void RowDisplay::setRow(unsigned short line)
{
    CntRow record;
    CntProgram::row(machine_, line, &record);
    CntRow copy;
    displayRow(&record, &copy, machine_.system().word(Protocol::SystemModeWord), line, countSystems());

    for (int g = 0; g < kGroups; ++g) {
        const CntSystemBlock &block = copy.block[kGroupBlock[g]];
        QString aText, hText;
        actionTexts(&aText, &hText, block.action);
        cell(g, 2)->setText(QString::number(CntRow::get16(block.pat_line)));
        cell(g, 4)->setText(hText);
        cell(g, 7)->setText(aText);
        cell(g, 6)->setText(selectorText(CntRow::get16(block.select_h)));
        cell(g, 9)->setText(selectorText(CntRow::get16(block.select_a)));
    }

    const CarrierRemap remap = CarrierRemap::fromBlocks(machine_.system().block(), machine_.work().block());
    for (int s = 0; s < 2; ++s)
        carrier_[std::size_t(s)]->setText(multiCarrierText(copy.mouth[s].mouth_flag, copy.mouth[s].mouth_mask, remap));

    if (picture_)
        picture_->scrollToLine(CntRow::get16(copy.pic_line[0]));

    const int s = groupOrDefault(copy.speed_group, 23);
    const unsigned short speedWord = s <= kTableGroups ? machine_.work().word(std::size_t(kSpeedBase + s)) : 0;
    showSpeed(double(speedWord) * machine_.system().word(Protocol::SpeedUnitWord));
    speedGroup_->setText(QString::number(s) + QStringLiteral("# - ")
                         + (s <= kTableGroups ? QString::number(speedWord) : QStringLiteral("---")));

    const QString bed = bedText(copy.bed_flag, copy.bed_count);
    bool transfer = false;
    for (const CntSystemBlock &block : copy.block)
        transfer = transfer || block.action == kTransfer;
    QLabel *racking = rollers_[Bed];
    if (transfer) {
        racking->setAlignment(Qt::AlignVCenter | Qt::AlignRight);
        racking->setText(bed);
    } else {
        racking->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
        racking->setText(QStringLiteral("<font color = darkblue >") + bed);
    }

    rollers_[MainRoller]->setText(groupValue(groupOrDefault(copy.rora_main, 23), kMainRollerBase, 1, 0));
    const unsigned char side[2] = {copy.rora_aux, copy.rora_open};
    const int base[2] = {kAuxiliaryRollerBase, kOpeningRollerBase};
    for (int i = 0; i < 2; ++i) {
        QLabel *label = rollers_[std::size_t(AuxiliaryRoller + i)];
        if (!(side[i] & 0x80))
            label->setText(QStringLiteral("NO"));
        else
            label->setText(groupValue(groupOrDefault(side[i] & 0x7f, 23), base[i], 1, 0));
    }

    const QString park = QString::number(groupOrDefault(copy.mouth_park, 1)) + QLatin1Char('#');
    parking_[0]->setText(park);
    parking_[1]->setText(park);

    paintDensity(copy, line);
}

void RowDisplay::paintDensity(const CntRow &copy, unsigned short line)
{
    const int parity = line % 2;
    auto write = [&](int group, int g) {
        cell(group, 3)->setText(groupValue(g, 0, kDensityStride, kDensityWord[group][parity]));
    };
    const int first = groupOrDefault(copy.density_group, 23);
    for (int group = 0; group < kGroups; ++group)
        write(group, first);

    const unsigned short transferGroup = machine_.system().word(Protocol::TransferGroupWord);
    if (transferGroup != 0) {
        const int g = transferGroup <= 24 ? transferGroup : 23;
        for (int system = 0; system < 2; ++system) {
            const unsigned char a = copy.block[2 * system].action;
            const unsigned char b = copy.block[2 * system + 1].action;
            if (a == kTransfer || a == kKnitReceive || b == kTransfer || b == kKnitReceive) {
                write(2 * system, g);
                write(2 * system + 1, g);
            }
        }
    }

    bool idle = true;
    for (const CntSystemBlock &block : copy.block)
        idle = idle && block.action == 0;
    if (idle) {
        for (int group = 0; group < kGroups; ++group)
            write(group, 24);
    }
}

void RowDisplay::clearRow()
{
    const QString blank = QStringLiteral(" ");
    for (int g = 0; g < kGroups; ++g) {
        for (int c : {2, 3, 4, 6, 7, 9})
            cell(g, c)->setText(blank);
    }
    for (QLabel *label : rollers_)
        label->setText(blank);
    for (QLabel *label : loops_)
        label->setText(blank);
    for (QLabel *label : carrier_)
        label->setText(blank);
}

void RowDisplay::setLoopRows(unsigned short start, unsigned short end)
{
    loops_[LoopStart]->setText(QString::number(start));
    loops_[LoopEnd]->setText(QString::number(end));
}

void RowDisplay::setLoopCounts(unsigned short count, unsigned short remaining)
{
    loops_[LoopCount]->setText(QString::number(count));
    loops_[LoopLeft]->setText(QString::number(remaining));
}
