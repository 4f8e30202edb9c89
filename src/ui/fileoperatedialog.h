#pragma once

#include <QByteArray>
#include <QDialog>
#include <QFile>
#include <QString>
#include <QTimer>

class QLabel;
class QProgressBar;
class QPushButton;

// The modal copy dialog: copies one file in 1 KiB steps from the event loop with a progress
// bar, and replaces the destination only when the whole copy is on disk. Paths are either
// names (QString) or, for stick files whose names are not UTF-8, their own bytes.
class FileOperateDialog : public QDialog
{
    Q_OBJECT

public:
    // True only when the copy finished; Exit or an error gives false.
    static bool copy(const QString &source, const QString &destination, QWidget *parent = nullptr);
    static bool copyNative(const QByteArray &source, const QByteArray &destination, QWidget *parent = nullptr);

    FileOperateDialog(const QString &source, const QString &destination, QWidget *parent = nullptr);
    FileOperateDialog(const QByteArray &source, const QByteArray &destination, QWidget *parent = nullptr);

    // False when the copy cannot start (the dialog then shows why and waits for Exit).
    bool start();

private Q_SLOTS:
    void copyNextStep();

private:
    // Stops the copy and shows text on the side (from_ or to_) that failed.
    void fail(QLabel *side, const QString &text);

    QByteArray source_;
    QByteArray destination_;
    QFile in_;
    QByteArray copied_;
    qint64 total_ = 0;
    QTimer timer_;
    QLabel *from_ = nullptr;
    QLabel *to_ = nullptr;
    QProgressBar *progress_ = nullptr;
    QPushButton *quit_ = nullptr;
};
