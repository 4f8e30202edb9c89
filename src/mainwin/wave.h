#pragma once

#include <QList>
#include <QString>
#include <QWidget>

class MYBUTTON;
class MyLabel;
class QFrame;
class QLabel;
class QShowEvent;

// The main window: runs the whole start-up in its constructor and then hosts the main screen.
// One class split by concern over several files: startup (program start, the exchange with the
// controller, the screen lock), job (loading and saving the current job), panels (the main
// screen's widgets and counters).
class wave : public QWidget
{
    Q_OBJECT

public:
    // The panel's "custom style, no title bar or frame" top-level window.
    static constexpr Qt::WindowFlags kCustomFrameless =
        Qt::Window | Qt::FramelessWindowHint | Qt::CustomizeWindowHint;

    explicit wave(QWidget *parent = nullptr, const char *name = nullptr,
                  Qt::WindowFlags flags = kCustomFrameless);

    // startup
    void initpara();
    void wave_start_system();

    // job
    void open_wavefile(const QString &name);

    // panels
    void wave_create_desktopinfor();
    void wave_slot_drawmessagepos(int systems, int picture);
    void paintwavetime(unsigned short first, unsigned short second);
    void paintstoptime(unsigned short first, unsigned short second);
    void paint_piece(unsigned short done, unsigned short target);
    void paint_startneedle(unsigned short needle);

    unsigned char checkresult = 0;

public slots:
    void wave_slot_enablets();
    void wave_updata_file(const QString &name);
    void wave_slot_savewrkfile(const QString &path);
    void wave_slot_desktop(const QString &path);
    void wave_change_desktopinfor();

protected:
    void showEvent(QShowEvent *event) override;

private:
    // The shut-down procedure of the start-up questions.
    void shutdownController();
    // Fetches one block file from the controller into the temporary folder; false (after the
    // connection message) when the transfer fails or the file is shorter than the block.
    bool fetchBlock(const QString &name, int size, QByteArray *out);
    // Checks the current job's files and sends them; stops at the first failure.
    void checkAndSendJob(const QString &name);
    void showJobDropped();

    bool repairShown_ = false;

    MYBUTTON *Bmenu = nullptr;
    QList<MyLabel *> commandLabels_; // clickable while the screen is unlocked
    QList<MyLabel *> displayLabels_; // never clickable
    QLabel *jobName_ = nullptr;
    QLabel *jobSize_ = nullptr;
    QLabel *waveTime_ = nullptr;
    QLabel *stopTime_ = nullptr;
    QLabel *pieces_ = nullptr;
    QLabel *startNeedle_ = nullptr;
    QLabel *rowNumber_ = nullptr;
    QFrame *desktop_ = nullptr;
    QString picturePath_;
};
