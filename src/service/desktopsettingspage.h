#pragma once

#include <QWidget>

class QLabel;

class MachineData;

// The desktop settings page: F1 imports a desktop picture from the stick, F2 returns to the
// factory picture, F3 shows the screen-saver wait. The choice is word 0 of the panel settings,
// saved whole with the other words as they were.
class DesktopSettingsPage : public QWidget
{
    Q_OBJECT

public:
    explicit DesktopSettingsPage(MachineData &machine, QWidget *parent = nullptr, const char *name = "desktopsettingspage");

    static QString picture(int number); // image/desktop/<number>.bmp under the data root

public Q_SLOTS:
    void importPicture();
    void restoreFactoryPicture();
    void showScreenSaverWait();

Q_SIGNALS:
    void desktopPictureChanged(const QString &path);

private:
    void choose(int number);

    MachineData &machine_;
};
