#pragma once

#include "telemetry/reasonlist.h"
#include "ui/screenframe.h"

class ListMenu;

// The stop reasons over the main screen: the list's reasons in two columns by code (1-5, then
// 6-9 and 0), in the operator's language. A digit, or Enter or a touch on a reason, picks it
// (picked(), then the dialog is accepted); Escape leaves it without one.
class StopReasonDialog : public ScreenFrame
{
    Q_OBJECT

public:
    StopReasonDialog(const ReasonList &list, QWidget *parent = nullptr);

    ListMenu *menu() const { return menu_; }

Q_SIGNALS:
    void picked(int code);

protected:
    void changeEvent(QEvent *event) override;

private:
    void pick(int code);
    void retranslate();

    const ReasonList list_;
    ListMenu *menu_;
};
