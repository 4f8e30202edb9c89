#pragma once

#include <QDialog>

class BeepingButton;
class QLabel;

// The common body of the panel's message boxes: a frameless box centred on the 640 x 480
// screen with a title line ("title"), a wrapped text ("Label") and an OK button ("Button_ok").
class MessageFrame : public QDialog
{
    Q_OBJECT

public:
    static constexpr QRect kGeometry{120, 140, 400, 200};

    void setTitle(const QString &text);
    void setText(const QString &text);
    QLabel *titleLabel() const { return title_; }
    QLabel *textLabel() const { return text_; }
    BeepingButton *okButton() const { return ok_; }

protected:
    MessageFrame(QWidget *parent, const char *name, bool modal);

    static constexpr int kButtonY = 150;
    static constexpr QSize kButtonSize{120, 36};

private:
    QLabel *title_;
    QLabel *text_;
    BeepingButton *ok_;
};
