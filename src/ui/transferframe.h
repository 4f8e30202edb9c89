#pragma once

#include "logic/controller/filetransfer.h"

#include <QFrame>
#include <QString>

class LabelTftp;
class QLabel;

// One file transfer with the controller shown in a 360 x 60 frame: the direction as its title,
// the transfer's status line and progress under it. The transfer dialog holds one; at start-up
// the main window holds one over the start picture for every transfer of the exchange, so no
// window is opened and closed per file.
class TransferFrame : public QFrame
{
    Q_OBJECT

public:
    enum Mode { Upload = 1, Download = 2 };

    explicit TransferFrame(QWidget *parent);
    ~TransferFrame() override;

    // Starts a transfer on a fresh status line (its own socket, as each transfer had); false,
    // with the line's over() already emitted, when it could not start.
    bool start(const QString &path, quint32 address, int mode);
    LabelTftp *line() const { return line_; }

    // Both directions with the controller run here: the frame shows over its window while a
    // transfer lasts and the operator's input is held, as under a modal dialog; Escape gives
    // the transfer up (false).
    FileTransfer withController();

Q_SIGNALS:
    void over(int code);

private:
    bool runHere(const QString &path, int mode);

    QLabel *title_;
    LabelTftp *line_ = nullptr;
};
