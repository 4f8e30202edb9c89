#pragma once

#include <QFrame>
#include <QList>

class BeepingButton;
class QLabel;

// One group of the carriage test page: its title and, side by side, its element kinds (a
// needle bed's density motor, selector, cams, selector and density motor, or a yarn-guide
// set), each under a caption that shows whether it is selected. Blades, cams and guides are
// indicator buttons whose active flag holds their state; each cam has a twin showing the
// opposite. A touch on a kind reports it.
class MotoGroupView : public QFrame
{
    Q_OBJECT

public:
    MotoGroupView(int group, QWidget *parent = nullptr);

    int group() const { return group_; }
    int kinds() const { return captions_.size(); }

    void setSelected(int kind, bool selected);
    void setMotor(int kind, const QString &text); // kinds 0 and 4
    void setPattern(int kind, unsigned char bits); // selectors (1, 3), cams (2) or the guides (0)

    QLabel *motorLabel(int kind) const;
    BeepingButton *indicator(int kind, int element) const;
    BeepingButton *twin(int cam) const;

    // Shows a button's state: its active flag and the colours that go with it. A new button
    // shows off.
    static void showState(BeepingButton *button, bool on);

Q_SIGNALS:
    void touched(int kind);

protected:
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *addKind(); // its caption set by retranslate
    void retranslate();
    BeepingButton *addIndicator(int kind, const QString &text, QWidget *column);

    int group_;
    QLabel *title_ = nullptr;
    QList<QLabel *> captions_;
    QList<QWidget *> columns_;
    QList<QList<BeepingButton *>> indicators_; // by kind; empty for the density motors
    QList<BeepingButton *> twins_;
    QLabel *motors_[2] = {};
};
