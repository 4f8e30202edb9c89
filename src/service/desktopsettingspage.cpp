#include "desktopsettingspage.h"

#include "data/machinedata.h"
#include "data/panelfiles.h"
#include "data/protocol.h"
#include "platform/panelpaths.h"
#include "ui/beepingbutton.h"
#include "ui/keytable.h"
#include "ui/operatordialogs.h"
#include "ui/stickimportdialog.h"

DesktopSettingsPage::DesktopSettingsPage(MachineData &machine, QWidget *parent, const char *name)
    : QWidget(parent)
    , machine_(machine)
{
    setObjectName(QString::fromLatin1(name));
    const int wait = machine_.panelSettings().word(Protocol::ScreenSaverWord);
    const QString texts[] = {
        tr("F1. 从U盘导入桌面图片"),
        tr("F2. 恢复出厂桌面图片设置"),
        wait ? tr("F3. 屏幕保护等待 : %1 分").arg(wait) : tr("F3. 屏幕保护( 关闭 )"),
    };
    void (DesktopSettingsPage::*const actions[])() = {&DesktopSettingsPage::importPicture, &DesktopSettingsPage::restoreFactoryPicture, &DesktopSettingsPage::showScreenSaverWait};
    QList<KeyTable::Row> keys;
    for (int i = 0; i < 3; ++i) {
        auto *button = new BeepingButton(texts[i], this);
        button->setGeometry(120, 40 + 70 * i, 400, 50);
        button->setFocusPolicy(Qt::NoFocus);
        const auto action = actions[i];
        connect(button, &QPushButton::clicked, this, action);
        keys.append({KeyTable::function(i + 1), [this, action] { (this->*action)(); }});
    }
    KeyTable::install(this, keys);
}

QString DesktopSettingsPage::picture(int number)
{
    return PanelPaths::data(QStringLiteral("/image/desktop/%1.bmp").arg(number));
}

void DesktopSettingsPage::choose(int number)
{
    machine_.panelSettings().setWord(Protocol::DesktopWord, quint16(number));
    if (!writePanelSettings(machine_))
        showMessage(this, tr("保存桌面设置失败, 请重试 !"));
    Q_EMIT desktopPictureChanged(picture(number));
}

void DesktopSettingsPage::importPicture()
{
    makeDirectory(PanelPaths::data(QStringLiteral("/image/desktop")));
    if (StickImportDialog::openFileFromStick(picture(1), tr("导入桌面图片 ... ..."), PanelPaths::usbRoot(),
                                            QStringLiteral("*.bmp"), this))
        choose(1);
}

void DesktopSettingsPage::restoreFactoryPicture()
{
    if (askYesNo(this, tr("确定要恢复出产时的桌面吗 ?")))
        choose(0);
}

void DesktopSettingsPage::showScreenSaverWait()
{
    // The wait is only shown here.
}
