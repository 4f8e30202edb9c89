#pragma once

#include <QElapsedTimer>
#include <QLabel>
#include <QString>
#include <QTimer>

class QProgressBar;
class ControllerTransfer;

// The status line of the file-transfer dialog: starts one transfer (ControllerTransfer, in
// src/logic) and shows its state in the operator's texts, with the progress bar "ProgressBar1"
// over it during uploads. While the server has not answered, it counts the requests and the
// seconds waited.
class LabelTftp : public QLabel
{
    Q_OBJECT

public:
    explicit LabelTftp(QWidget *parent = nullptr, const char *name = nullptr);
    ~LabelTftp() override;

    // Start a transfer. False, with over(2) or over(3) already emitted, when the local file
    // cannot be used (over(1) when the transfer cannot start at all). The server's address is
    // IPv4 in host byte order.
    bool openGet(const QString &path, quint32 address);
    bool openPut(const QString &path, quint32 address);

    QProgressBar *progressBar() const { return bar_; }
    int result() const; // over's code, -1 while none was emitted
    QString reason() const; // why the transfer failed, one line

Q_SIGNALS:
    void over(int code);

private Q_SLOTS:
    void showConnecting(bool upload);
    void showProgress(qint64 bytes, int percent);

private:
    void showWaiting();

    ControllerTransfer *client_;
    QProgressBar *bar_;
    QTimer waitTicker_;
    QElapsedTimer waited_;
    int attempt_ = 0;
    bool upload_ = false;
};
