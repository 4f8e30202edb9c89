#pragma once

#include "platform/nativefs.h"
#include "ui/keytable.h"
#include "ui/screenframe.h"

#include <QLabel>
#include <QTreeWidgetItem>

class BeepingButton;
class BeepingCheckBox;
class BeepingListView;

// The USB stick browser: mounts the stick 50 ms after it is built (and on F4), unmounts it when
// hidden, and lists a folder of the stick with type, size and time. F1 views a file, F2 deletes
// the selected entry, F3 makes a folder; "|>." (Right, or a double click) opens a folder and
// "<|." (Left) goes up, never above the stick. Names are the stick's own bytes: shown decoded,
// opened as they are. The import and export dialogs are built on it. Its dynamic property
// "busy" is true while it reads the stick and while its Enter action runs.
class StickBrowser : public ScreenFrame
{
    Q_OBJECT

public:
    // startDir: a folder of the stick (anything else starts at the stick's root). filter:
    // blank-separated name patterns ("*.wrk", "config*.cfg") the files must match; folders
    // always show; empty or "*.*" shows every file.
    StickBrowser(const QString &startDir, const QString &filter, QWidget *parent = nullptr, const char *name = nullptr);

    BeepingListView *list() const { return list_; }
    // The folder shown, as bytes.
    QByteArray currentDir() const { return dir_; }
    // The selected entry, nullptr when nothing is selected.
    const NativeFs::Entry *currentEntry() const;
    // currentDir/name of the selected entry; empty when nothing is selected.
    QByteArray currentPath() const;

public Q_SLOTS:
    void findStick();
    void listFiles();
    void openFolder();
    void goUp();
    void openSelected();
    void deleteSelected();
    void newFolder();
    void showSpace();

protected:
    void hideEvent(QHideEvent *event) override;
    // The area below the top band where the list and the menu stand.
    QWidget *body() const { return body_; }
    // A derived dialog's button at the bottom, started by Enter (and Return).
    BeepingButton *addEnterButton(const QString &text, const std::function<void()> &action);
    // A derived dialog's check box at the bottom, toggled by F7 or F8 (and G or H).
    BeepingCheckBox *addCheckBox(const QString &text, const QRect &geometry, int functionKey);
    // A name on the stick as the panel shows it.
    static QString shown(const QByteArray &name);
    // Gives the network disk key (F5) its action and draws it enabled.
    void addNetworkKey(const std::function<void()> &action);
    // Another source's rows in the list instead of the stick's (columns as headers give them,
    // each row's index in its UserRole); the stick comes back with listFiles().
    void showRows(const QString &title, const QStringList &headers, const QList<QStringList> &rows);
    bool showingStick() const { return !foreign_; }
    // The waiting text over the list while something long runs (empty hides it).
    void showWaiting(const QString &text);

private:
    // A path the viewers can open: the stick path itself when its bytes survive as a name,
    // else a copy in the temporary folder.
    QString viewablePath(const QByteArray &path, const QByteArray &ext);
    void selectName(const QByteArray &name);
    // The rows in the list, the first one chosen.
    void showItems(const QList<QTreeWidgetItem *> &items);

    QByteArray root_;
    QByteArray start_;
    QByteArray dir_;
    QStringList filters_;
    QList<NativeFs::Entry> entries_;
    QWidget *body_;
    BeepingListView *list_;
    QLabel *waiting_;
    BeepingButton *network_ = nullptr;
    bool foreign_ = false;
};
