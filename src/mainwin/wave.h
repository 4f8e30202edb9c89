#pragma once

#include <QList>
#include <QString>
#include <QWidget>

class ButtonWarm;
class LabelMessage;
class LabelTime;
class MYBUTTON;
class MyLabel;
class PatToPicture;
class QFrame;
class QLabel;
class QPushButton;
class QShowEvent;
class QTimer;
class RowDisplay;
class StatusChannel;

// The main window: runs the whole start-up in its constructor and then hosts the main screen.
// One class split by concern over several files: startup (program start, the exchange with the
// controller, the screen lock), job (loading and saving the current job), panels (the main
// screen's widgets and counters), rowdisplay, alarms (alarm button, message line, shut-down
// question) and status (the controller's reports).
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
    void paint_needle(unsigned short unused);
    void set_speed(int state);
    void wave_paint_quickkey();

    // rowdisplay
    void paint_line(unsigned short row);
    RowDisplay *rowDisplay() const { return rowDisplay_; }
    PatToPicture *patPicture() const { return patPicture_; }

    // alarms
    void wave_slot_message(const QString &m1, const QString &m2);
    QString wave_get_message1() const;
    ButtonWarm *buttonWarm() const { return buttonWarm_; }
    LabelMessage *labelMessage() const { return labelMessage_; }

    // status
    void wave_create_syncinfor();
    StatusChannel *statusChannel() const { return statusChannel_; }
    QLabel *needleLabel() const { return needle_; }
    QLabel *runningLabel() const { return running_; }

    unsigned char checkresult = 0;

public slots:
    void wave_slot_enablets();
    void wave_updata_file(const QString &name);
    void wave_slot_savewrkfile(const QString &path);
    void wave_slot_desktop(const QString &path);
    void wave_change_desktopinfor();
    void wave_warm_cancel();
    void wave_slot_close();
    void wave_paint_needleinfor();

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

    void createQuickKeys();
    // Row repaints wait for the end of a batch of reports, so a flood paints once per batch.
    void requestLine(unsigned short row);
    void flushLine();
    void applyMessageStep(int report);
    void onZeroingStarted();
    void onMachineStarted(int state);
    void onMachineStopped();
    void onRowReport(unsigned short row, bool cancelMessage);
    void onAlarm(unsigned char type, unsigned char code);
    void onZeroingFinished();

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

    RowDisplay *rowDisplay_ = nullptr;
    PatToPicture *patPicture_ = nullptr;
    QLabel *needle_ = nullptr;
    LabelTime *labelTime_ = nullptr;
    QLabel *running_ = nullptr;
    QList<QPushButton *> pictureKeys_;
    QList<MyLabel *> quickKeys_;
    LabelMessage *labelMessage_ = nullptr;
    ButtonWarm *buttonWarm_ = nullptr;
    StatusChannel *statusChannel_ = nullptr;
    QTimer *needleTimer_ = nullptr;
    bool linePending_ = false;
    unsigned short pendingLine_ = 0;
    bool piecePending_ = false;
};
