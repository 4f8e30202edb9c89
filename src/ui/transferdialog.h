#pragma once

#include "logic/controller/controllertransfer.h"
#include "logic/controller/filetransfer.h"
#include "ui/transferframe.h"

#include <QDialog>
#include <QString>

class LabelTftp;

// The modal dialog of one file transfer with the controller: a title, the transfer's status
// line and progress; it closes itself when the transfer ends, accepted only on success.
class TransferDialog : public QDialog
{
    Q_OBJECT

public:
    enum Mode { Upload = TransferFrame::Upload, Download = TransferFrame::Download };

    // Upload or download path (the remote name is its last component); true on success. The
    // address is IPv4 in host byte order.
    static bool putFile(const QString &path, quint32 address = ControllerTransfer::controllerAddress());
    static bool getFile(const QString &path, quint32 address = ControllerTransfer::controllerAddress());
    // Both directions with the controller, each in this window, for the logic that sends files.
    static FileTransfer withController();

    // The window has no title bar or border (the panel's flags 16); the transfer starts here.
    TransferDialog(const QString &path, quint32 address, int mode, QWidget *parent = nullptr,
                const char *name = nullptr, bool modal = true,
                Qt::WindowFlags flags = Qt::Dialog | Qt::FramelessWindowHint);
    ~TransferDialog() override;

    // Runs the dialog unless the transfer already ended; Accepted when it succeeded.
    int run();
    LabelTftp *labelTftp() const;

public Q_SLOTS:
    void finishTransfer(int code);

private:
    static bool transfer(const QString &path, quint32 address, int mode);

    TransferFrame *frame_;
    bool ended_ = false;
};
