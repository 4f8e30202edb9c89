#pragma once

#include "ui/beepingbuttongroup.h"
#include "ui/panelkey.h"

#include <QList>
#include <QString>

#include <array>

class PanelKeyButton;

// The column of on-screen keys beside a page's fields: shows the keys that suit the code it is
// told and posts a touched key to the focused field, whose own key handling then acts.
class KeyColumn : public BeepingButtonGroup
{
    Q_OBJECT

public:
    static constexpr int kButtons = 13;
    static constexpr int kKeyHeight = 40; // a fingertip on the 640 x 480 touch screen

    // The key button id stands for on the numeric panels: "1"-"9", "0", "-", Enter, M; 0 outside 0-12.
    static int defaultKey(int id);
    // "1" ... "9", "0" with the keys of ids 0-9.
    static PanelKeys digitKeys();

    PanelKeyButton *button(int id) const; // nullptr outside 0-12
    int code() const { return code_; }
    // The shown keys, on buttons 0, 1, ... in this order.
    const PanelKeys &shownKeys() const { return shown_; }

public Q_SLOTS:
    void showKeysFor(int code);
    // Posts the key of the shown button id; ids of hidden buttons post nothing.
    void postKey(int id);

protected:
    explicit KeyColumn(QWidget *parent = nullptr, const char *name = nullptr);
    virtual PanelKeys keysFor(int code) const = 0;
    // Relabels the shown keys in the language just chosen.
    void changeEvent(QEvent *event) override;

private:
    std::array<PanelKeyButton *, kButtons> buttons_{};
    PanelKeys shown_;
    int code_ = -1;
};
