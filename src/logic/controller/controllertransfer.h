#pragma once

#include <QObject>
#include <QString>

class TftpClient;

// One file transfer with the controller (TFTP, driven from the event loop), for the transfer
// window's status line: it starts the transfer under the name the controller knows the file by
// and passes the transfer's states on as they come.
class ControllerTransfer : public QObject
{
    Q_OBJECT

public:
    explicit ControllerTransfer(QObject *parent = nullptr);
    ~ControllerTransfer() override;

    // The controller's address, IPv4 in host byte order, as the transfers take it.
    static quint32 controllerAddress();
    // The requests a transfer sends to a server that does not answer before it gives up.
    static int maxRequests();

    // Start a transfer of the file at path. False, with over() already emitted, when it cannot
    // start (the local file cannot be used, or another transfer runs).
    bool get(const QString &path, quint32 address);
    bool put(const QString &path, quint32 address);

    bool isRunning() const;
    bool answered() const; // the server answered the request
    qint64 total() const; // upload: the file's size; download: the bytes received
    int result() const; // over's code, -1 while none was emitted
    QString reason() const; // why the transfer failed, one line

Q_SIGNALS:
    void connecting(bool upload);
    // The request went out for the attempt-th time with no answer yet.
    void requestSent(int attempt);
    // percent < 0 for a download, whose size is not known beforehand.
    void progress(qint64 bytes, int percent);
    void over(int code);

private:
    TftpClient *client_;
};
