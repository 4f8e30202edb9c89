#pragma once

#include "data/workfile.h"

#include "ui/screenframe.h"

#include <QByteArray>

class MachineData;
class QFrame;
class QTextEdit;

// The work-parameter browser: one .wrk file printed as text in five views; opened from the disk
// file manager (mode 1) it also exports the file to the stick and imports over it from the
// stick or from another job, the loaded job's through the controller first.
class WorkFileBrowser : public ScreenFrame
{
    Q_OBJECT

public:
    static constexpr int kWithFiles = 1;

    WorkFileBrowser(MachineData &machine, unsigned char mode, const QString &path, QWidget *parent = nullptr,
                  const char *name = "workfilebrowser");
    static void openWorkFile(MachineData &machine, int mode, const QString &path, QWidget *parent);

    QTextEdit *textView() const { return text_; }
    const QByteArray &buffer() const { return buffer_; }

    // Sends a .wrk to the controller and takes it into the work block; false, with the operator's
    // message, when the carriage runs, the file is not a whole work file or the transfer fails.
    bool sendWorkFile(const QString &path);

public Q_SLOTS:
    void showDensityPage() { print(WorkFile::Density); }
    void showSpeedPage() { print(WorkFile::Speed); }
    void showRollersPage() { print(WorkFile::Rollers); }
    void showParkingPage() { print(WorkFile::CarrierParking); }
    void showReplacementPage() { print(WorkFile::Replace); }
    void exportWorkToStick();
    void importWorkFromStick();
    void importFromJob();

private:
    void print(WorkFile::View view);
    void reload();
    bool isCurrentJob() const;
    // Checks the source's size, then (for the loaded job) the controller, then the copy.
    void importFrom(const QString &source);

    MachineData &machine_;
    QString path_;
    QByteArray buffer_;
    QFrame *frame_;
    QTextEdit *text_;
};
