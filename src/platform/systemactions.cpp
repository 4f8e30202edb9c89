#include "systemactions.h"

#include "atomicfile.h"
#include "emulatedmedia.h"
#include "nativefs.h"
#include "panelpaths.h"
#include "servicenotify.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void record(const QString &line)
{
#ifdef KNIT_PANEL_BUILD
    Q_UNUSED(line) // the panel keeps no record
#else
    const QString file = SystemActions::recordFile();
    QDir().mkpath(QFileInfo(file).absolutePath());
    QByteArray log;
    QFile f(file);
    if (f.open(QIODevice::ReadOnly))
        log = f.readAll();
    f.close();
    AtomicFile::save(file, log + line.toUtf8() + '\n');
#endif
}

#ifdef KNIT_PANEL_BUILD
// The panel runs as a plain user: every action goes, as its argument vector, to the privileged
// helper, which takes only the actions the panel has and checks each argument.
constexpr char kHelper[] = "/usr/lib/knitpanel/knitpanel-sysaction";

// Waits for the child in slices, with a watchdog ping after each: a long format is no hang.
int waitChild(pid_t pid)
{
    const int pidfd = int(::syscall(SYS_pidfd_open, pid, 0));
    int status = 0;
    for (;;) {
        if (pidfd >= 0) {
            pollfd p{pidfd, POLLIN, 0};
            ::poll(&p, 1, ServiceNotify::slice(ServiceNotify::kSliceMs));
            ServiceNotify::ping();
        }
        const pid_t done = ::waitpid(pid, &status, pidfd >= 0 ? WNOHANG : 0);
        if (done == pid)
            break;
        if (done < 0 && errno != EINTR) {
            status = -1;
            break;
        }
    }
    if (pidfd >= 0)
        ::close(pidfd);
    if (status == -1)
        return 127;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
}

int execWait(const QString &program, const QStringList &args)
{
    QList<QByteArray> store{QByteArray(kHelper), QFile::encodeName(program)};
    for (const QString &a : args)
        store.append(QFile::encodeName(a));
    QVector<char *> argv;
    for (QByteArray &b : store)
        argv.append(b.data());
    argv.append(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0)
        return 127;
    if (pid == 0) {
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    return waitChild(pid);
}
#else
// The host's emulated clock: what "date -s" set, as an offset from the machine's clock.
QString clockOffsetFile()
{
    return PanelPaths::resolve(QStringLiteral("/var/clock-offset"));
}

qint64 clockOffset()
{
    QFile f(clockOffsetFile());
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    return f.read(32).trimmed().toLongLong();
}

bool isUnderRoot(const QString &path)
{
    const QString root = QDir(PanelPaths::root()).canonicalPath();
    const QString p = QFileInfo(path).canonicalFilePath();
    return !p.isEmpty() && !root.isEmpty() && root != QLatin1String("/") && p.startsWith(root + QLatin1Char('/'));
}

// The panel's date text ("2007/3/9 8:05:00") and the ISO form.
QDateTime parseDate(const QString &text)
{
    static const char *const formats[] = {"yyyy/M/d H:m:s", "yyyy/M/d H:m", "yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd HH:mm"};
    for (const char *f : formats) {
        const QDateTime t = QDateTime::fromString(text.simplified(), QLatin1String(f));
        if (t.isValid())
            return t;
    }
    return QDateTime();
}

// The emulated medium of a formatting tool's target: a directory as it is, a device node (when
// it exists) the place its files are now.
QString mediumOf(const QString &target)
{
    if (QFileInfo(target).isDir())
        return target;
    return EmulatedMedia::deviceExists(target) ? EmulatedMedia::mediumOf(target) : QString();
}

bool isModule(const QStringList &args, const char *name)
{
    for (const QString &a : args) {
        if (QFileInfo(a).completeBaseName() == QLatin1String(name))
            return true;
    }
    return false;
}

int emulate(const QString &program, const QStringList &args)
{
    const QString name = QFileInfo(program).fileName();
    // A tool named by its path must be there, as exec would find it.
    if (program.startsWith(QLatin1Char('/')) && !QFileInfo(program).isFile())
        return 127;
    const QString last = args.isEmpty() ? QString() : args.last();
    if (name == QLatin1String("mount")) {
        if (EmulatedMedia::isFlashDiskMountPoint(last))
            return EmulatedMedia::mountFlashDisk() ? 0 : 32;
        return isUnderRoot(last) && QFileInfo(last).isDir() ? 0 : 32;
    }
    if (name == QLatin1String("umount")) {
        if (EmulatedMedia::isFlashDiskMountPoint(last))
            return EmulatedMedia::unmountFlashDisk() ? 0 : 32;
        return 0;
    }
    if (name == QLatin1String("insmod") || name == QLatin1String("rmmod")) {
        if (isModule(args, "usb-storage"))
            EmulatedMedia::setUsbDriverLoaded(name == QLatin1String("insmod"));
        return 0;
    }
    if (name == QLatin1String("hwclock") || name.startsWith(QLatin1String("dosfsck")) || name.startsWith(QLatin1String("fsck")))
        return 0;
    if (name == QLatin1String("sync")) {
        ::sync();
        return 0;
    }
    if (name == QLatin1String("date")) {
        const qsizetype i = args.indexOf(QStringLiteral("-s"));
        if (i < 0 || i + 1 >= args.size())
            return 0;
        const QDateTime t = parseDate(args.mid(i + 1).join(QLatin1Char(' ')));
        if (!t.isValid())
            return 1;
        const qint64 offset = QDateTime::currentDateTime().secsTo(t);
        QDir().mkpath(QFileInfo(clockOffsetFile()).absolutePath());
        return AtomicFile::save(clockOffsetFile(), QByteArray::number(offset)) ? 0 : 1;
    }
    if (name.startsWith(QLatin1String("mkfs")) || name.startsWith(QLatin1String("mkdosfs"))) {
        // Formatting empties the emulated medium: the directory named last, or wherever the
        // files of the device named last are.
        const QString medium = last.isEmpty() ? QString() : mediumOf(last);
        if (medium.isEmpty() || !isUnderRoot(medium) || !QFileInfo(medium).isDir())
            return 1;
        // By the names' own bytes: a stick's GBK names do not survive decoding.
        const QByteArray dir = QFile::encodeName(medium);
        bool emptied = true;
        for (const QByteArray &entry : NativeFs::names(dir))
            emptied = NativeFs::remove(NativeFs::join(dir, entry)) && emptied;
        return emptied ? 0 : 1;
    }
    return 127;
}
#endif

} // namespace

int SystemActions::run(const QString &program, const QStringList &args)
{
    record((QStringList(program) + args).join(QLatin1Char(' ')));
#ifdef KNIT_PANEL_BUILD
    return execWait(program, args);
#else
    return emulate(program, args);
#endif
}

QStringList SystemActions::recorded()
{
    QFile f(recordFile());
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void SystemActions::clearRecorded()
{
    QFile::remove(recordFile());
}

QString SystemActions::recordFile()
{
    return PanelPaths::resolve(QStringLiteral("/var/log/system-actions.log"));
}

bool SystemActions::deviceExists(const QString &device)
{
#ifdef KNIT_PANEL_BUILD
    return QFileInfo::exists(PanelPaths::resolve(device));
#else
    return EmulatedMedia::deviceExists(device);
#endif
}

QDateTime SystemActions::now()
{
#ifdef KNIT_PANEL_BUILD
    return QDateTime::currentDateTime();
#else
    return QDateTime::currentDateTime().addSecs(clockOffset());
#endif
}
