#include "stickbrowser.h"

#include "fileicons.h"
#include "jobviewers.h"
#include "pagekeys.h"

#include "data/jobname.h"
#include "data/numberformat.h"
#include "logic/files/filetexts.h"
#include "logic/files/stickmount.h"
#include "platform/atomicfile.h"
#include "platform/diskcapacity.h"
#include "platform/fsops.h"
#include "platform/panelpaths.h"
#include "ui/beepingbutton.h"
#include "ui/beepingcheckbox.h"
#include "ui/beepinglistview.h"
#include "ui/bmpedit.h"
#include "ui/operatordialogs.h"
#include "ui/panelpalettes.h"

#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTimer>

#include <algorithm>

namespace {

constexpr int kMountDelayMs = 50;
constexpr int kFolderNameMax = 16;
// A picture or parameter file bigger than this is not one the viewers can show.
constexpr qint64 kMaxViewedFile = 16 * 1024 * 1024;
// The network disk's button, enabled by a dialog that gives it an action.
constexpr int kNetworkKeyY = 190;
const char kFolderType[] = QT_TRANSLATE_NOOP("StickBrowser", "文件夹");

QByteArray extensionOf(const QByteArray &name)
{
    const int dot = name.lastIndexOf('.');
    return dot < 0 ? QByteArray() : name.mid(dot + 1);
}

} // namespace

StickBrowser::StickBrowser(const QString &startDir, const QString &filter, QWidget *parent, const char *name)
    : ScreenFrame(parent, name ? name : "stickbrowser")
    , root_(StickMount::rootBytes())
{
    setTitleLine(QStringLiteral("U Disk File List"));
    setProperty("busy", true);
    const QByteArray start = QFile::encodeName(startDir);
    start_ = StickMount::isInside(start) ? start : root_;
    dir_ = start_;
    for (const QString &pattern : filter.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (pattern != QLatin1String("*.*") && pattern != QLatin1String("*"))
            filters_.append(pattern);
    }

    body_ = new QWidget(this);
    body_->setGeometry(0, 45, 640, 435);
    list_ = new BeepingListView(body_, "list_dir");
    list_->setGeometry(120, 10, 440, 354);
    list_->setUniformRowHeights(true);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, &StickBrowser::openFolder);

    const struct { const char *text; int y; void (StickBrowser::*slot)(); QList<int> keys; } buttons[] = {
        {QT_TR_NOOP("F1.浏览文件"), 10, &StickBrowser::openSelected, KeyTable::function(1)},
        {QT_TR_NOOP("F2.删除文件"), 55, &StickBrowser::deleteSelected, KeyTable::function(2)},
        {QT_TR_NOOP("F3.新建文件"), 100, &StickBrowser::newFolder, KeyTable::function(3)},
        {QT_TR_NOOP("F4.刷新U盘"), 145, &StickBrowser::findStick, KeyTable::function(4)},
        {QT_TR_NOOP("F5.网络硬盘"), kNetworkKeyY, nullptr, KeyTable::function(5)},
        {QT_TR_NOOP("<|.向上一级"), 280, &StickBrowser::goUp, {Qt::Key_Left}},
        {QT_TR_NOOP("|>.打开目录"), 325, &StickBrowser::openFolder, {Qt::Key_Right}},
    };
    QList<KeyTable::Row> keys;
    for (const auto &b : buttons) {
        auto *button = new BeepingButton(tr(b.text), body_, "Bmenu");
        button->setGeometry(10, b.y, 100, 40);
        button->setFocusPolicy(Qt::NoFocus);
        button->setPalette(PanelPalettes().buttonDark());
        // A key without an action (the network disk) is drawn disabled, so none is promised.
        button->setEnabled(b.slot != nullptr);
        if (b.y == kNetworkKeyY)
            network_ = button;
        if (b.slot) {
            connect(button, &QPushButton::clicked, this, b.slot);
            keys.append({b.keys, [this, slot = b.slot] { (this->*slot)(); }});
        }
    }
    KeyTable::install(this, keys);
    new PageKeys(body_, QRect(561, 10, 48, 354), 84, 90);

    waiting_ = new QLabel(body_);
    waiting_->setGeometry(120, 160, 440, 40);
    waiting_->setAlignment(Qt::AlignCenter);
    waiting_->setWordWrap(true);
    waiting_->setAutoFillBackground(true);
    waiting_->setPalette(PanelPalettes().labelText());
    waiting_->hide();
    list_->setFocus();
    // Built and painted first, so the waiting text shows while the mount blocks.
    QTimer::singleShot(kMountDelayMs, this, &StickBrowser::findStick);
}

BeepingButton *StickBrowser::addEnterButton(const QString &text, const std::function<void()> &action)
{
    auto *button = new BeepingButton(text, this, "Benter");
    button->setGeometry(520, 430, 100, 35);
    button->setFocusPolicy(Qt::NoFocus);
    button->setPalette(PanelPalettes().buttonDark());
    // Busy while it imports or exports, as while it mounts: the dialogs it opens come first.
    const auto run = [this, action] {
        setProperty("busy", true);
        action();
        setProperty("busy", false);
    };
    connect(button, &QPushButton::clicked, this, run);
    KeyTable::install(this, {{{Qt::Key_Enter, Qt::Key_Return}, run}});
    return button;
}

BeepingCheckBox *StickBrowser::addCheckBox(const QString &text, const QRect &geometry, int functionKey)
{
    auto *box = new BeepingCheckBox(text, this, "CheckBox");
    box->setGeometry(geometry);
    box->setFocusPolicy(Qt::NoFocus);
    KeyTable::install(this, {{KeyTable::function(functionKey), [box] { box->toggle(); }}});
    return box;
}

QString StickBrowser::shown(const QByteArray &name)
{
    return JobName::decode(name);
}

void StickBrowser::findStick()
{
    setProperty("busy", true);
    showWaiting(tr("正在读取U盘信息,请等待......(长时间无反应时,请拔出U盘 !"));
    StickMount::mount();
    dir_ = start_;
    listFiles();
    showWaiting(QString());
    setProperty("busy", false);
}

void StickBrowser::hideEvent(QHideEvent *event)
{
    ScreenFrame::hideEvent(event);
    StickMount::unmount();
}

void StickBrowser::addNetworkKey(const std::function<void()> &action)
{
    network_->setEnabled(true);
    connect(network_, &QPushButton::clicked, this, action);
    KeyTable::install(this, {{KeyTable::function(5), action}});
}

void StickBrowser::showRows(const QString &title, const QStringList &headers, const QList<QStringList> &rows)
{
    foreign_ = true;
    list_->clear();
    entries_.clear();
    list_->setHeaderLabels(headers);
    QList<QTreeWidgetItem *> items;
    for (int i = 0; i < rows.size(); ++i) {
        auto *item = new QTreeWidgetItem(rows.at(i));
        item->setIcon(0, FileIcons::file());
        item->setData(0, Qt::UserRole, i);
        items.append(item);
    }
    showItems(items);
    setTitleLine(title);
}

void StickBrowser::showItems(const QList<QTreeWidgetItem *> &items)
{
    list_->addTopLevelItems(items);
    if (!items.isEmpty()) {
        list_->setCurrentItem(items.first());
        items.first()->setSelected(true);
    }
}

void StickBrowser::showWaiting(const QString &text)
{
    waiting_->setText(text);
    waiting_->setVisible(!text.isEmpty());
    waiting_->repaint();
}

void StickBrowser::listFiles()
{
    foreign_ = false;
    list_->clear();
    entries_.clear();
    list_->setHeaderLabels({tr("名  称"), tr("类  型"), tr("大  小"), tr("时  间")});
    list_->setColumnWidth(0, 170);
    list_->setColumnWidth(1, 60);
    list_->setColumnWidth(2, 70);
    QList<NativeFs::Entry> all;
    NativeFs::list(dir_, &all);
    QList<QRegularExpression> patterns;
    for (const QString &f : filters_)
        patterns.append(QRegularExpression(QRegularExpression::wildcardToRegularExpression(f), QRegularExpression::CaseInsensitiveOption));
    for (const NativeFs::Entry &e : all) {
        const QString name = shown(e.name);
        if (e.dir || patterns.isEmpty()
            || std::any_of(patterns.begin(), patterns.end(), [&](const QRegularExpression &p) { return p.match(name).hasMatch(); }))
            entries_.append(e);
    }
    // Folders first, then by name.
    std::sort(entries_.begin(), entries_.end(), [](const NativeFs::Entry &a, const NativeFs::Entry &b) {
        if (a.dir != b.dir)
            return a.dir;
        return shown(a.name).compare(shown(b.name), Qt::CaseInsensitive) < 0;
    });
    QList<QTreeWidgetItem *> items;
    for (int i = 0; i < entries_.size(); ++i) {
        const NativeFs::Entry &e = entries_.at(i);
        auto *item = new QTreeWidgetItem(QStringList{shown(e.name), e.dir ? tr(kFolderType) : shown(extensionOf(e.name)),
                                                     e.dir ? QString() : FileTexts::sizeString(e.size), FileTexts::dateString(e.modified)});
        item->setIcon(0, e.dir ? FileIcons::folder() : FileIcons::file());
        item->setData(0, Qt::UserRole, i);
        items.append(item);
    }
    showItems(items);
    showSpace();
}

void StickBrowser::showSpace()
{
    quint64 total = 0;
    quint64 free = 0;
    QString totalText;
    QString freeText;
    if (DiskCapacity::query(QFile::decodeName(root_), &total, &free)) {
        totalText = sizeText(total);
        freeText = sizeText(free);
    }
    // On the title line, so the message line stays free for what the operator is doing.
    //: USB browser title line: stick size, free space, current folder; fits 620 px.
    setTitleLine(tr("U盘空间 : %1     剩余空间 : %2     路径 U:/%3").arg(totalText, freeText, shown(dir_.mid(root_.size() + 1))));
}

const NativeFs::Entry *StickBrowser::currentEntry() const
{
    const QTreeWidgetItem *item = list_->currentItem();
    if (!item || !item->isSelected())
        return nullptr;
    const int i = item->data(0, Qt::UserRole).toInt();
    return i >= 0 && i < entries_.size() ? &entries_.at(i) : nullptr;
}

QByteArray StickBrowser::currentPath() const
{
    const NativeFs::Entry *e = currentEntry();
    return e ? NativeFs::join(dir_, e->name) : QByteArray();
}

void StickBrowser::selectName(const QByteArray &name)
{
    for (int i = 0; i < entries_.size(); ++i) {
        if (entries_.at(i).name == name) {
            QTreeWidgetItem *item = list_->topLevelItem(i);
            list_->clearSelection();
            list_->setCurrentItem(item);
            item->setSelected(true);
            list_->scrollToItem(item, QAbstractItemView::PositionAtCenter);
            return;
        }
    }
}

void StickBrowser::openFolder()
{
    const NativeFs::Entry *e = currentEntry();
    if (!e || !e->dir)
        return;
    dir_ = NativeFs::join(dir_, e->name);
    listFiles();
}

void StickBrowser::goUp()
{
    if (dir_ == root_)
        return;
    const QByteArray from = dir_.mid(dir_.lastIndexOf('/') + 1);
    dir_ = dir_.left(dir_.lastIndexOf('/'));
    listFiles();
    selectName(from);
}

QString StickBrowser::viewablePath(const QByteArray &path, const QByteArray &ext)
{
    const QString name = QFile::decodeName(path);
    if (QFile::encodeName(name) == path)
        return name;
    const QString copy = PanelPaths::tmp(QStringLiteral("/usbview.") + QString::fromLatin1(ext));
    QByteArray bytes;
    return NativeFs::read(path, kMaxViewedFile, &bytes) && AtomicFile::save(copy, bytes) ? copy : QString();
}

void StickBrowser::openSelected()
{
    const NativeFs::Entry *e = currentEntry();
    if (!e)
        return;
    const QByteArray ext = extensionOf(e->name).toLower();
    if (!e->dir && ext == "wrk") {
        const JobViewers *viewers = JobViewers::find();
        if (viewers && viewers->has(JobViewers::WorkParameters))
            viewers->open(JobViewers::WorkParameters, viewablePath(currentPath(), ext), 0, this);
    } else if (!e->dir && ext == "xxx") {
        BmpEdit::openFile(viewablePath(currentPath(), ext), this);
    } else {
        showMessage(this, tr("只能预览 .xxx .wrk 类型文件 !"));
    }
}

void StickBrowser::deleteSelected()
{
    // Without a selection the path would be the folder shown itself.
    const QByteArray path = currentPath();
    if (path.isEmpty() || !askYesNo(this, tr("确定删除该文件吗?")))
        return;
    if (!NativeFs::remove(path))
        showMessage(this, tr("删除文件失败 !"));
    FsOps::sync();
    listFiles();
}

void StickBrowser::newFolder()
{
    const QString name = askText(this, QString(), tr("输入新建文件夹名称( 0 - 9的数字 )"), kFolderNameMax);
    if (name.isEmpty())
        return;
    if (!JobName::isSafe(name)) {
        showMessage(this, tr("参数范围不正确, 请查看参数范围 !"));
        return;
    }
    const QByteArray bytes = StickMount::nameBytes(name);
    const QByteArray path = NativeFs::join(dir_, bytes);
    if (NativeFs::exists(path)) {
        showMessage(this, tr("该文件夹已存在 !"));
        return;
    }
    if (!NativeFs::makeDir(path))
        showMessage(this, tr("新建文件夹失败 !"));
    FsOps::sync();
    listFiles();
    selectName(bytes);
}
