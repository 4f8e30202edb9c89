#pragma once

#include <QDialog>

class BeepingButton;
class QLabel;

// The full-screen frame of nearly every page: title line, help line, close button (Escape)
// and clear button (Backspace) along the top, and a mode byte the page uses as it likes.
class ScreenFrame : public QDialog
{
    Q_OBJECT

public:
    static constexpr Qt::WindowFlags kFrameless = Qt::Dialog | Qt::FramelessWindowHint;

    explicit ScreenFrame(QWidget *parent = nullptr, const char *name = nullptr, bool modal = true,
                      Qt::WindowFlags flags = kFrameless, unsigned char mode = 0);

    void setTitleLine(const QString &text);
    void setMessageLine(const QString &text);

    unsigned char mode() const { return mode_; }
    QLabel *titleLabel() const { return ltitle_; }
    QLabel *msgLabel() const { return edit_msg_; }
    BeepingButton *closeButton() const { return close_; }
    BeepingButton *clearButton() const { return clear_; }

public Q_SLOTS:
    // Tells the owner, then closes the page (rejected when run modally).
    void closePage();
    // The clear button and Backspace; pages restore the stored value of their field.
    virtual void clearPage();

Q_SIGNALS:
    void closeRequested();
    void clearRequested();

protected:
    unsigned char mode_;

private:
    QLabel *ltitle_;
    QLabel *edit_msg_;
    BeepingButton *close_;
    QLabel *filler_;
    BeepingButton *clear_;
};
