#pragma once

#include "desktopsettingspage.h"
#include "serviceframe.h"

// The frame of the desktop picture and screen saver page: its message line above the page,
// and the page's new picture passed on to whoever shows it.
class DesktopSettingsFrame : public ServiceFrame<DesktopSettingsPage>
{
    Q_OBJECT
public:
    explicit DesktopSettingsFrame(MachineData &machine, QWidget *parent = nullptr);

Q_SIGNALS:
    void desktopPictureChanged(const QString &path);
};
