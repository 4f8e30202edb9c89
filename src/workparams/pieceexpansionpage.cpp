#include "pieceexpansionpage.h"

#include "carrierstartstrip.h"
#include "workgrid.h"

#include "data/machinedata.h"
#include "data/protocol.h"
#include "logic/workparams/workentry.h"
#include "ui/buzzer.h"
#include "ui/celledit.h"
#include "ui/entercheckbox.h"
#include "ui/operatordialogs.h"
#include "ui/panelfonts.h"
#include "ui/piecelayoutpreview.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

namespace {

constexpr int kBedWord = Protocol::BedWidthWord;
constexpr int kMaskWord = Protocol::PieceMaskWord;
constexpr int kSpacingMax = 300;
constexpr int kWords[PieceExpansionPage::FieldCount] = {Protocol::StartNeedleWord, Protocol::PieceCountWord,
                                                       Protocol::PieceSpacingWord};
const char *const kLabels[PieceExpansionPage::FieldCount] = {QT_TRANSLATE_NOOP("PieceExpansionPage", "花板起始针"), QT_TRANSLATE_NOOP("PieceExpansionPage", "展开片数"), QT_TRANSLATE_NOOP("PieceExpansionPage", "展开间距")};

int maxOf(const MachineData &machine, int field)
{
    return field == PieceExpansionPage::Start ? machine.system().word(kBedWord)
        : field == PieceExpansionPage::Pieces ? PieceExpansionPage::kPieces : kSpacingMax;
}

} // namespace

PieceExpansionPage::PieceExpansionPage(MachineData &machine, QWidget *parent)
    : QWidget(parent)
    , machine_(machine)
    , preview_(new PieceLayoutPreview(this, "piecelayoutpreview"))
    , strip_(new CarrierStartStrip(machine, this))
{
    setObjectName(QStringLiteral("pieceexpansionpage"));
    setFont(PanelFonts::panel());
    for (int f = 0; f < FieldCount; ++f) {
        labels_[std::size_t(f)] = new QLabel(tr(kLabels[f]), this);
        labels_[std::size_t(f)]->setObjectName(QStringLiteral("fieldname"));
        labels_[std::size_t(f)]->setGeometry(10 + 200 * f, 15, 85, 22);
        auto *e = new CellEdit(this, "edit");
        e->setGeometry(95 + 200 * f, 15, 60, 22);
        e->setMaxLength(5);
        e->installEventFilter(this);
        editors_[std::size_t(f)] = e;
    }
    for (int i = 0; i < kPieces; ++i) {
        auto *b = new EnterCheckBox(tr("使能"), this, "enable");
        b->setGeometry(10 + 72 * i, 55, 70, 24);
        b->installEventFilter(this);
        connect(b, &EnterCheckBox::enterPressed, this, &PieceExpansionPage::sendPieceMask);
        boxes_[std::size_t(i)] = b;
    }
    preview_->setGeometry(0, 95, 600, 90);
    strip_->setGeometry(10, 200, 560, 24);
}

void PieceExpansionPage::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    QTimer::singleShot(0, this, &PieceExpansionPage::reloadFields);
}

void PieceExpansionPage::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        for (int f = 0; f < FieldCount; ++f)
            labels_[std::size_t(f)]->setText(tr(kLabels[f]));
        for (EnterCheckBox *b : boxes_)
            b->setText(tr("使能"));
        if (isVisible())
            Q_EMIT messageChanged(helpOf(field_));
    }
    QWidget::changeEvent(event);
}

unsigned short PieceExpansionPage::offMask(int count) const
{
    unsigned short mask = 0;
    for (int i = 0; i < count && i < kPieces; ++i) {
        if (!boxes_[std::size_t(i)]->isChecked())
            mask |= static_cast<unsigned short>(1u << i);
    }
    return mask;
}

void PieceExpansionPage::setBoxes()
{
    const int count = machine_.system().word(kWords[Pieces]);
    const unsigned short mask = machine_.system().word(kMaskWord);
    for (int i = 0; i < kPieces; ++i) {
        EnterCheckBox *b = boxes_[std::size_t(i)];
        b->setEnabled(i < count);
        // Every box, disabled ones too, shows its bit of the stored mask: on when it is clear.
        b->setChecked(!(mask & (1u << i)));
    }
}

void PieceExpansionPage::redraw()
{
    preview_->setBedWidth(machine_.system().word(kBedWord));
    preview_->setPieceWidth(machine_.runSettings().word(Protocol::PieceWidthWord));
    preview_->drawPieces(machine_.system().word(kWords[Start]), machine_.system().word(kWords[Pieces]),
                        machine_.system().word(kWords[Spacing]), machine_.system().word(kMaskWord));
}

void PieceExpansionPage::restore(Field f)
{
    CellEdit *e = editors_[std::size_t(f)];
    e->setText(QString::number(machine_.system().word(std::size_t(kWords[f]))));
    e->setFocus(Qt::OtherFocusReason);
    e->selectAll();
}

void PieceExpansionPage::reloadFields()
{
    for (int f = 0; f < FieldCount; ++f)
        restore(Field(f));
    setBoxes();
    redraw();
    strip_->showStarts();
    focusField(Start);
}

QString PieceExpansionPage::helpOf(int field) const
{
    if (field == FieldCount)
        return tr("按< 确定 >, 打开使能 .");
    return tr("参数范围 : 1 ~ %1").arg(maxOf(machine_, field));
}

void PieceExpansionPage::focusField(int field, int box)
{
    field_ = field;
    box_ = box;
    if (field == FieldCount) {
        boxes_[std::size_t(box)]->setFocus(Qt::OtherFocusReason);
    } else {
        CellEdit *e = editors_[std::size_t(field)];
        e->setFocus(Qt::OtherFocusReason);
        e->selectAll();
    }
    Q_EMIT messageChanged(helpOf(field));
}

void PieceExpansionPage::confirm(Field f)
{
    unsigned short value = 0;
    if (!WorkEntry::parse(editors_[std::size_t(f)]->text(), 1, maxOf(machine_, f), &value)) {
        showMessage(this, WorkEntry::message(WorkEntry::OutOfRange));
        restore(f);
        return;
    }
    std::array<unsigned short, FieldCount> v{};
    for (int i = 0; i < FieldCount; ++i)
        v[std::size_t(i)] = i == f ? value : machine_.system().word(std::size_t(kWords[i]));
    if (!preview_->drawPieces(v[Start], v[Pieces], v[Spacing], machine_.system().word(kMaskWord))) {
        showMessage(this, tr("衣片总宽度超过针床宽度 !"));
        redraw();
        restore(f);
        return;
    }
    const WorkEntry::Result result = WorkEntry::send(machine_, WorkEntry::kSystemGroup, {kWords[f]}, value,
                                                     [this] { Q_EMIT parametersChanged(); });
    if (result != WorkEntry::Stored) {
        showMessage(this, WorkEntry::message(result));
        redraw();
        restore(f);
        return;
    }
    restore(f);
    if (f == Pieces) {
        // The boxes of the new count, then the mask they give.
        for (int i = 0; i < kPieces; ++i) {
            boxes_[std::size_t(i)]->setEnabled(i < value);
            if (i >= value || value == 1)
                boxes_[std::size_t(i)]->setChecked(true);
        }
        sendPieceMask();
        strip_->showStarts();
        restore(f);
    }
}

void PieceExpansionPage::clearKey()
{
    if (field_ < FieldCount)
        restore(Field(field_));
}

void PieceExpansionPage::sendPieceMask()
{
    const unsigned short mask = offMask(machine_.system().word(kWords[Pieces]));
    const WorkEntry::Result result = WorkEntry::send(machine_, WorkEntry::kSystemGroup, {kMaskWord}, mask,
                                                     [this] { Q_EMIT parametersChanged(); });
    if (result != WorkEntry::Stored)
        showMessage(this, WorkEntry::message(result));
    setBoxes();
    redraw();
}

bool PieceExpansionPage::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        Q_EMIT changeWanted();
        return false;
    }
    if (event->type() == QEvent::FocusIn) {
        // However the focus came (a touch, a key), the field is current and its text selected.
        for (int f = 0; f < FieldCount; ++f) {
            if (watched == editors_[std::size_t(f)] && field_ != f) {
                field_ = f;
                Q_EMIT messageChanged(helpOf(f));
                QTimer::singleShot(0, editors_[std::size_t(f)], &QLineEdit::selectAll);
            }
        }
        for (int i = 0; i < kPieces; ++i) {
            if (watched == boxes_[std::size_t(i)] && (field_ != FieldCount || box_ != i)) {
                field_ = FieldCount;
                box_ = i;
                Q_EMIT messageChanged(helpOf(FieldCount));
            }
        }
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    const int k = WorkGrid::keypadKey(key->key());
    const int count = qMax(1, int(machine_.system().word(kWords[Pieces])));
    switch (k) {
    case Qt::Key_Up:
    case Qt::Key_Down:
        buzzer(kKeyBeepMs);
        if (field_ < FieldCount)
            restore(Field(field_));
        focusField(qBound(0, field_ + (k == Qt::Key_Down ? 1 : -1), int(FieldCount)));
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
        buzzer(kKeyBeepMs);
        if (field_ == FieldCount)
            focusField(FieldCount, qBound(0, box_ + (k == Qt::Key_Right ? 1 : -1), qMin(count, kPieces) - 1));
        return true;
    case Qt::Key_Enter:
        if (field_ == FieldCount)
            return false; // the box toggles itself and tells sendPieceMask
        buzzer(kKeyBeepMs);
        confirm(Field(field_));
        return true;
    case Qt::Key_Escape:
        return false;
    case Qt::Key_Backspace:
        buzzer(kKeyBeepMs);
        clearKey();
        return true;
    default:
        break;
    }
    if (k >= Qt::Key_A && k <= Qt::Key_F) {
        QKeyEvent tab(QEvent::KeyPress, k, Qt::NoModifier, QString());
        QCoreApplication::sendEvent(window(), &tab);
        return true;
    }
    if (k >= Qt::Key_0 && k <= Qt::Key_9 && field_ < FieldCount) {
        buzzer(kKeyBeepMs);
        return false;
    }
    return true;
}
