#include "motogroupview.h"

#include "data/testblocks.h"
#include "ui/beepingbutton.h"
#include "ui/panelfonts.h"
#include "ui/panelpalettes.h"

#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>

namespace {

const char *const kTitles[] = {QT_TRANSLATE_NOOP("MotoGroupView", "左 系 统 后 针 床 测 试"), QT_TRANSLATE_NOOP("MotoGroupView", "右 系 统 后 针 床 测 试"), QT_TRANSLATE_NOOP("MotoGroupView", "左 系 统 前 针 床 测 试"),
                               QT_TRANSLATE_NOOP("MotoGroupView", "右 系 统 前 针 床 测 试"), QT_TRANSLATE_NOOP("MotoGroupView", "左 导 纱 器 测 试"),     QT_TRANSLATE_NOOP("MotoGroupView", "右 导 纱 器 测 试")};
const char *const kBedCaptions[TestBlocks::kKinds] = {QT_TRANSLATE_NOOP("MotoGroupView", "密度电机1"), QT_TRANSLATE_NOOP("MotoGroupView", "选针器1"), QT_TRANSLATE_NOOP("MotoGroupView", "三角"), QT_TRANSLATE_NOOP("MotoGroupView", "选针器2"), QT_TRANSLATE_NOOP("MotoGroupView", "密度电机2")};

const char kGuideCaption[] = QT_TRANSLATE_NOOP("MotoGroupView", "导纱器");

constexpr int kBlades = 8;
constexpr int kCams = 6;
constexpr int kGuides = 8;

} // namespace

BeepingButton *MotoGroupView::addIndicator(int kind, const QString &text, QWidget *column)
{
    auto *b = new BeepingButton(text, column, "indicator");
    // The page keeps the focus: the keypad drives the selection, a touch only selects.
    b->setFocusPolicy(Qt::NoFocus);
    b->setFont(PanelFonts::panel(11));
    b->setMinimumSize(16, 14);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    b->setPalette(PanelPalettes().labelWhite());
    connect(b, &QPushButton::clicked, this, [this, kind] { Q_EMIT touched(kind); });
    return b;
}

MotoGroupView::MotoGroupView(int group, QWidget *parent)
    : QFrame(parent)
    , group_(group)
{
    setObjectName(QStringLiteral("group%1").arg(group));
    setFrameStyle(QFrame::Box | QFrame::Plain);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(2, 1, 2, 2);
    outer->setSpacing(1);
    title_ = new QLabel(this);
    title_->setFont(PanelFonts::panel(12));
    title_->setAlignment(Qt::AlignCenter);
    outer->addWidget(title_);
    auto *row = new QHBoxLayout;
    row->setSpacing(3);
    outer->addLayout(row, 1);

    if (group >= TestBlocks::kBedGroups) {
        QWidget *column = addKind();
        auto *line = new QHBoxLayout;
        line->setSpacing(2);
        for (int i = 0; i < kGuides; ++i) {
            indicators_[0].append(addIndicator(0, QString::number(i + 1), column));
            line->addWidget(indicators_[0].last());
        }
        static_cast<QVBoxLayout *>(column->layout())->addLayout(line);
        row->addWidget(column);
        retranslate();
        return;
    }
    for (int kind = 0; kind < TestBlocks::kKinds; ++kind) {
        QWidget *column = addKind();
        auto *box = static_cast<QVBoxLayout *>(column->layout());
        if (kind == 0 || kind == 4) {
            QLabel *motor = motors_[kind == 0 ? 0 : 1] = new QLabel(column);
            motor->setObjectName(QStringLiteral("motor"));
            motor->setFont(PanelFonts::panel(12));
            motor->setAlignment(Qt::AlignCenter);
            motor->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            box->addWidget(motor);
            box->addStretch(1);
        } else if (kind == 2) {
            auto *grid = new QGridLayout;
            grid->setSpacing(2);
            for (int i = 0; i < kCams; ++i) {
                indicators_[kind].append(addIndicator(kind, QString::number(i + 1), column));
                twins_.append(addIndicator(kind, QString(), column));
                grid->addWidget(indicators_[kind].last(), i, 0);
                grid->addWidget(twins_.last(), i, 1);
            }
            box->addLayout(grid, 1);
        } else {
            for (int i = 0; i < kBlades; ++i) {
                indicators_[kind].append(addIndicator(kind, QString::number(i + 1), column));
                box->addWidget(indicators_[kind].last(), 1);
            }
        }
        row->addWidget(column, kind == 2 ? 3 : 2);
    }
    setPattern(2, 0);
    retranslate();
}

void MotoGroupView::retranslate()
{
    title_->setText(tr(kTitles[qBound(0, group_, 5)]));
    for (int kind = 0; kind < captions_.size(); ++kind)
        captions_[kind]->setText(group_ >= TestBlocks::kBedGroups ? tr(kGuideCaption) : tr(kBedCaptions[kind]));
}

void MotoGroupView::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QFrame::changeEvent(event);
}

QWidget *MotoGroupView::addKind()
{
    auto *column = new QWidget(this);
    auto *box = new QVBoxLayout(column);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(1);
    auto *label = new QLabel(column);
    label->setFont(PanelFonts::panel(12));
    label->setAlignment(Qt::AlignCenter);
    label->setAutoFillBackground(true);
    label->setPalette(PanelPalettes().labelWhite());
    box->addWidget(label);
    column->installEventFilter(this);
    label->installEventFilter(this);
    captions_.append(label);
    columns_.append(column);
    indicators_.append(QList<BeepingButton *>());
    return column;
}

bool MotoGroupView::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        for (int kind = 0; kind < columns_.size(); ++kind) {
            if (watched == columns_[kind] || watched == captions_[kind]) {
                Q_EMIT touched(kind);
                return true;
            }
        }
    }
    return QFrame::eventFilter(watched, event);
}

void MotoGroupView::setSelected(int kind, bool selected)
{
    if (kind >= 0 && kind < captions_.size())
        captions_[kind]->setPalette(selected ? PanelPalettes().labelDark() : PanelPalettes().labelWhite());
}

void MotoGroupView::setMotor(int kind, const QString &text)
{
    if (QLabel *l = motorLabel(kind))
        l->setText(text);
}

void MotoGroupView::setPattern(int kind, unsigned char bits)
{
    if (kind < 0 || kind >= indicators_.size())
        return;
    const QList<BeepingButton *> &set = indicators_[kind];
    for (int i = 0; i < set.size(); ++i) {
        const bool on = (bits >> i) & 1;
        showState(set[i], on);
        if (group_ < TestBlocks::kBedGroups && kind == 2)
            showState(twins_[i], !on);
    }
}

QLabel *MotoGroupView::motorLabel(int kind) const
{
    return group_ < TestBlocks::kBedGroups && (kind == 0 || kind == 4) ? motors_[kind == 0 ? 0 : 1] : nullptr;
}

BeepingButton *MotoGroupView::indicator(int kind, int element) const
{
    return kind >= 0 && kind < indicators_.size() ? indicators_[kind].value(element) : nullptr;
}

BeepingButton *MotoGroupView::twin(int cam) const
{
    return twins_.value(cam);
}

void MotoGroupView::showState(BeepingButton *button, bool on)
{
    // Called for every state every 50 ms: a repaint only for a change keeps the page idle.
    if (button->activeState() == (on ? 1 : 0))
        return;
    button->setActive(on ? 1 : 0);
    button->setPalette(on ? PanelPalettes().labelDark() : PanelPalettes().labelWhite());
}
