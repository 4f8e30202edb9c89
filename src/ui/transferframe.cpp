#include "transferframe.h"

#include "logic/controller/controllertransfer.h"
#include "platform/panelenv.h"
#include "ui/labeltftp.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

namespace {

// A transfer shorter than this ends before the frame could be read: it is shown only when the
// transfer lasts, as a progress window shows only for work that takes a while. Waits for an
// absent controller and large files still show it; drawing it for every small file at start-up
// cost more than the rest of the start picture.
constexpr int kShowAfterMs = 100;

// Holds the operator's input while a transfer runs in the window, as a modal window would: the
// main screen under the frame acts on none of it, and Escape gives the transfer up.
class InputHold : public QObject
{
public:
    explicit InputHold(QEventLoop *loop)
        : loop_(loop)
    {
        qApp->installEventFilter(this);
    }
    ~InputHold() override { qApp->removeEventFilter(this); }

    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape)
                loop_->quit();
            return true;
        case QEvent::ShortcutOverride:
            // Taken as the frame's own key, so no shortcut of the screen under it fires and
            // the key comes here as a press.
            event->accept();
            return true;
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
            return true;
        default:
            return false;
        }
    }

private:
    QEventLoop *loop_;
};

} // namespace

TransferFrame::TransferFrame(QWidget *parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("frame"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    setLineWidth(1);
    setAutoFillBackground(true);
    // The colours of a window of its own, also inside the main window's darker ones.
    setPalette(QApplication::palette());
    resize(360, 60);

    title_ = new QLabel(this);
    title_->setObjectName(QStringLiteral("title"));
    title_->setGeometry(0, 0, 360, 20);
    title_->setAlignment(Qt::AlignCenter);
    title_->setTextFormat(Qt::RichText);
    title_->setAutoFillBackground(true);
}

TransferFrame::~TransferFrame() = default;

bool TransferFrame::start(const QString &path, quint32 address, int mode)
{
    delete line_;
    line_ = new LabelTftp(this, "LabelTftp");
    line_->setGeometry(5, 25, 350, 25);
    line_->show();
    connect(line_, &LabelTftp::over, this, &TransferFrame::over);
    title_->setText(QStringLiteral("<font color = darkRed >") +
                    (mode == Upload ? tr("上 传 文 件") : tr("下 载 文 件")));
    return mode == Upload ? line_->openPut(path, address) : line_->openGet(path, address);
}

FileTransfer TransferFrame::withController()
{
    return {[this](const QString &path) { return runHere(path, Upload); },
            [this](const QString &path) { return runHere(path, Download); }};
}

bool TransferFrame::runHere(const QString &path, int mode)
{
    QEventLoop loop;
    int code = -1;
    const auto ended = connect(this, &TransferFrame::over, &loop, [&code, &loop](int result) {
        code = result;
        loop.quit();
    });
    start(path, ControllerTransfer::controllerAddress(), mode);
    // A transfer that failed to start has ended before the frame could be shown.
    if (code < 0) {
        InputHold hold(&loop);
        QTimer shown;
        shown.setSingleShot(true);
        connect(&shown, &QTimer::timeout, this, [this] {
            show();
            raise();
        });
        // In the panel's own time: slowed by a tool, the transfers and the wait stretch alike.
        shown.start(PanelEnv::scaledMs(kShowAfterMs));
        loop.exec();
        hide();
    }
    disconnect(ended);
    // Given up or ended, the transfer goes with its line, as it went with its window.
    delete line_;
    line_ = nullptr;
    return code == 0;
}
