#include "iotestpage.h"

#include "data/machinedata.h"
#include "data/protocol.h"
#include "logic/machinetests/controllertest.h"
#include "logic/machinetests/ioinputs.h"
#include "logic/machinetests/iooutputs.h"
#include "ui/beepingbutton.h"
#include "ui/buzzer.h"
#include "ui/iotestkeys.h"
#include "ui/operatordialogs.h"
#include "ui/panelfonts.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace {

// The key panel takes the screen's right edge top to bottom (its number keypad needs all 480
// pixels), so the frame's buttons move left of it.
constexpr int kPanelX = 560;
constexpr int kPanelWidth = 80;
constexpr int kFrameButton = 45;
constexpr int kTitleWidth = kPanelX - 2 * kFrameButton;

constexpr int kCellWidth = 186;
constexpr int kLabelWidth = 126;
constexpr int kValueWidth = 54;
constexpr int kOutputTop = 52;
constexpr int kOutputPitch = 27;
constexpr int kInputTop = kOutputTop + IoOutputs::kRows * kOutputPitch + 10;
constexpr int kInputRows = 10;
constexpr int kInputPitch = 26;

const char *const kStatusNames[] = {QT_TRANSLATE_NOOP("IoTestPage", "机头速度"), QT_TRANSLATE_NOOP("IoTestPage", "针信号计数值"),
                                    QT_TRANSLATE_NOOP("IoTestPage", "键盘键码"), QT_TRANSLATE_NOOP("IoTestPage", "网络连接状态")};
const char kDots[] = "..............................";

QLabel *label(QWidget *parent, const QString &text, const QRect &rect)
{
    auto *l = new QLabel(text, parent);
    l->setGeometry(rect);
    l->setFont(PanelFonts::panel(12));
    return l;
}

} // namespace

IoTestPage::IoTestPage(MachineData &machine, QWidget *parent)
    : ScreenFrame(parent, "iotestpage")
    , machine_(machine)
    , controller_(new ControllerTest(Protocol::IoTest, this))
    , timer_(new QTimer(this))
{
    build();
    connect(controller_, &ControllerTest::reportReceived, this, &IoTestPage::onReport);
    connect(controller_, &ControllerTest::closedByController, this, [this] {
        timer_->stop();
        done(QDialog::Accepted);
    });
    const bool bound = controller_->open();

    for (int r = 0; r < IoOutputs::kRows; ++r) {
        for (int c = 0; c < IoOutputs::kColumns; ++c)
            redraw(r, c);
    }
    // The controller's needle-signal count, high byte first, is where the needle reports
    // keep the encoder pulse count from now on.
    machine_.controllerState().setWord(Protocol::PulsesWord, static_cast<unsigned short>(machine_.ioTest().byte(Protocol::TestPulsesHighByte) << 8 | machine_.ioTest().byte(Protocol::TestPulsesLowByte)));
    shownInputs_.fill(-1);
    refreshStates();
    // Without the command port nothing the controller sends can arrive, not even its answer
    // to the leave command.
    linkLabel()->setText(bound ? tr("正常") : tr("异常"));

    connect(this, &IoTestPage::panelCodeChanged, panel_, &IoTestKeys::showKeysFor);
    moveTo(0, 0);
    connect(timer_, &QTimer::timeout, this, &IoTestPage::refreshStates);
    timer_->start(kRefreshMs);
}

void IoTestPage::build()
{
    setTitleLine(QStringLiteral("Input Output Test"));
    titleLabel()->resize(kTitleWidth, titleLabel()->height());
    msgLabel()->resize(kTitleWidth, msgLabel()->height());
    closeButton()->move(kTitleWidth, 0);
    clearButton()->move(kTitleWidth + kFrameButton, 0);

    for (int r = 0; r < IoOutputs::kRows; ++r) {
        for (int c = 0; c < IoOutputs::kColumns; ++c) {
            const int x = 4 + c * kCellWidth;
            const int y = kOutputTop + r * kOutputPitch;
            const IoOutputs::Field *f = IoOutputs::field(IoOutputs::testNumber(r, c));
            label(this, IoOutputs::text(f->label), QRect(x, y, kLabelWidth, 22));
            auto *edit = new QLineEdit(this);
            edit->setObjectName(QStringLiteral("output%1").arg(IoOutputs::outputIndex(r, c)));
            edit->setGeometry(x + kLabelWidth, y, kValueWidth, 22);
            edit->setFont(PanelFonts::edit());
            // Three digits, so that 100 is refused rather than read as 10.
            edit->setMaxLength(3);
            edit->installEventFilter(this);
            fields_[std::size_t(IoOutputs::testNumber(r, c))] = edit;
        }
    }
    for (int i = 0; i < IoInputs::kCount + 4; ++i) {
        const int x = 4 + (i / kInputRows) * kCellWidth;
        const int y = kInputTop + (i % kInputRows) * kInputPitch;
        const QString name = i < IoInputs::kCount ? IoInputs::name(i) : tr(kStatusNames[i - IoInputs::kCount]);
        label(this, name + QString::fromLatin1(kDots), QRect(x, y, kLabelWidth, 22));
        QLabel *value = label(this, QString(), QRect(x + kLabelWidth, y, kValueWidth, 22));
        value->setTextFormat(Qt::RichText);
        if (i < IoInputs::kCount)
            inputs_[std::size_t(i)] = value;
        else
            status_[std::size_t(i - IoInputs::kCount)] = value;
    }
    panel_ = new IoTestKeys(this, "iotestkeys");
    panel_->setGeometry(kPanelX, 0, kPanelWidth, 480);
}

QLineEdit *IoTestPage::field(int row, int column) const
{
    if (row < 0 || row >= IoOutputs::kRows || column < 0 || column >= IoOutputs::kColumns)
        return nullptr;
    return fields_[std::size_t(IoOutputs::testNumber(row, column))];
}

QLabel *IoTestPage::inputLabel(int input) const
{
    return input >= 0 && input < IoInputs::kCount ? inputs_[std::size_t(input)] : nullptr;
}

void IoTestPage::driveOutput(int index, unsigned short value)
{
    controller_->sendCommand(static_cast<unsigned short>(index), value);
}

void IoTestPage::redraw(int row, int column)
{
    QLineEdit *edit = field(row, column);
    const int number = IoOutputs::testNumber(row, column);
    const int value = machine_.ioTest().word(std::size_t(IoOutputs::outputIndex(row, column)));
    const QString text = IoOutputs::shown(number, value, QString());
    if (text.isNull())
        return; // a value without a text leaves the field as it was
    edit->setText(text);
    if (IoOutputs::isDirection(row, column))
        direction_ = value;
}

void IoTestPage::moveTo(int row, int column)
{
    row_ = qBound(0, row, IoOutputs::kRows - 1);
    column_ = qBound(0, column, IoOutputs::kColumns - 1);
    const int number = IoOutputs::testNumber(row_, column_);
    QLineEdit *edit = field(row_, column_);
    edit->setFocus();
    edit->selectAll();
    setMessageLine(IoOutputs::text(IoOutputs::field(number)->hint));
    Q_EMIT panelCodeChanged(number);
}

bool IoTestPage::carriageRunning() const
{
    return IoOutputs::isDirection(row_, column_) && direction_ != IoOutputs::kStop;
}

void IoTestPage::stopCarriageFirst()
{
    driveOutput(IoOutputs::outputIndex(row_, column_), IoOutputs::kStop);
    showMessage(this, tr("请先停止机头运行 !"));
}

bool IoTestPage::handleKey(int key)
{
    keyLabel()->setText(QString::number(IoInputs::keyCode(key)));
    const int number = IoOutputs::testNumber(row_, column_);
    const bool numberField = IoOutputs::field(number)->maxNumber >= 0;
    const int index = IoOutputs::outputIndex(row_, column_);
    QLineEdit *edit = field(row_, column_);
    int value = 0;
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
        buzzer(kKeyBeepMs);
        if (carriageRunning()) {
            stopCarriageFirst();
            return true;
        }
        redraw(row_, column_);
        moveTo(row_ + (key == Qt::Key_Down) - (key == Qt::Key_Up), column_ + (key == Qt::Key_Right) - (key == Qt::Key_Left));
        return true;
    case Qt::Key_Backspace:
        buzzer(kKeyBeepMs);
        clearPage();
        return true;
    case Qt::Key_Enter:
    case Qt::Key_Return:
        if (!numberField)
            return true;
        buzzer(kKeyBeepMs);
        if (IoOutputs::typedValue(number, edit->text(), &value))
            driveOutput(index, static_cast<unsigned short>(value));
        redraw(row_, column_);
        edit->selectAll();
        return true;
    case Qt::Key_Escape:
        return false;
    default:
        if (key < Qt::Key_0 || key > Qt::Key_9)
            return true;
        buzzer(kKeyBeepMs);
        if (numberField)
            return false;
        value = IoOutputs::digitValue(number, key - Qt::Key_0);
        if (value >= 0)
            driveOutput(index, static_cast<unsigned short>(value));
        return true;
    }
}

bool IoTestPage::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress)
        return handleKey(static_cast<QKeyEvent *>(event)->key());
    if (event->type() == QEvent::MouseButtonPress) {
        if (carriageRunning()) {
            buzzer(kKeyBeepMs);
            stopCarriageFirst();
            return true;
        }
        for (int n = 0; n < IoOutputs::kCount; ++n) {
            if (fields_[std::size_t(n)] == watched) {
                buzzer(kKeyBeepMs);
                redraw(row_, column_);
                moveTo(n / IoOutputs::kColumns, n % IoOutputs::kColumns);
                return true;
            }
        }
    }
    return ScreenFrame::eventFilter(watched, event);
}

void IoTestPage::keyPressEvent(QKeyEvent *event)
{
    if (!handleKey(event->key()))
        ScreenFrame::keyPressEvent(event);
}

void IoTestPage::mousePressEvent(QMouseEvent *event)
{
    if (carriageRunning()) {
        buzzer(kKeyBeepMs);
        stopCarriageFirst();
        return;
    }
    ScreenFrame::mousePressEvent(event);
}

void IoTestPage::clearPage()
{
    ScreenFrame::clearPage();
    redraw(row_, column_);
    field(row_, column_)->selectAll();
}

void IoTestPage::reject()
{
    controller_->sendLeave();
    if (!controller_->isBound()) {
        timer_->stop();
        done(QDialog::Rejected);
    }
}

void IoTestPage::onReport(const QByteArray &report)
{
    const int output = IoOutputs::applyReport(machine_, report);
    if (output < 0)
        return;
    const int row = output % IoOutputs::kRows;
    const int column = output / IoOutputs::kRows;
    redraw(row, column);
    field(row, column)->selectAll();
}

void IoTestPage::refreshStates()
{
    needleLabel()->setText(QString::number(machine_.controllerState().word(Protocol::PulsesWord)));
    for (int i = 0; i < IoInputs::kCount; ++i) {
        const int value = machine_.ioTest().byte(std::size_t(40 + i));
        if (value != shownInputs_[std::size_t(i)]) {
            inputs_[std::size_t(i)]->setText(IoInputs::state(i, value));
            shownInputs_[std::size_t(i)] = value;
        }
    }
    const int speed = machine_.ioTest().byte(Protocol::TestSpeedByte);
    if (speed != shownSpeed_) {
        speedLabel()->setText(QString::number(speed));
        shownSpeed_ = speed;
    }
}
