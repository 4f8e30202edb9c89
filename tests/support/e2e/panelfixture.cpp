#include "panelfixture.h"

#include "portoffset.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

bool PanelFixture::prepare(const QList<Job> &jobs, QString *why)
{
    root_ = std::make_unique<TestRoot>();
    PortOffset::useFree();
    if (!x_.start()) {
        *why = QStringLiteral("Xvfb did not start");
        return false;
    }
    if (!sim_.start(why))
        return false;
    for (const Job &j : jobs) {
        if (!root_->makeJob(j.name, j.rows, j.width, j.height)) {
            *why = QStringLiteral("knitjob could not make %1").arg(j.name);
            return false;
        }
    }
    if (!root_->writeReferences(sim_.file(QStringLiteral("file.sys")), sim_.file(QStringLiteral("config.cfg")))) {
        *why = QStringLiteral("no check copies written");
        return false;
    }
    if (!jobs.isEmpty() && !sim_.command(QStringLiteral("set job ") + jobs.first().name)) {
        *why = QStringLiteral("knitsim took no job");
        return false;
    }
    return true;
}

bool PanelFixture::startPanel(const QProcessEnvironment &extra)
{
    // knitsim's journal from this start on: a closing status query of an earlier start
    // would pass for this one's.
    if (!sim_.command(QStringLiteral("journal clear")))
        return false;
    QProcessEnvironment env = x_.environment();
    env.insert(extra);
    return panel_.start(env, root_->path(), sim_.portOffset());
}

bool PanelFixture::waitForMainScreen(int ms)
{
    return sim_.waitFor(QStringLiteral("cmd 26"), ms) && waitForWindow(kMain, {}, ms);
}

bool PanelFixture::start(const QList<Job> &jobs, QString *why)
{
    if (!prepare(jobs, why))
        return false;
    if (!startPanel()) {
        *why = QStringLiteral("knitpanel did not start");
        return false;
    }
    if (!waitForMainScreen()) {
        *why = QStringLiteral("start-up never reached the main screen: %1").arg(sim_.traffic().join(QLatin1Char(',')));
        return false;
    }
    return true;
}

void PanelFixture::stop()
{
    panel_.stop();
    sim_.stop();
    x_.stop();
}

bool PanelFixture::waitForFile(const QString &path, const QByteArray &bytes, int ms)
{
    return QTest::qWaitFor([&] {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) && (bytes.isNull() || f.readAll() == bytes);
    }, ms);
}

bool PanelFixture::waitForTrace(const QString &pattern, qsizetype from, int ms)
{
    const QRegularExpression line(pattern, QRegularExpression::MultilineOption);
    return QTest::qWaitFor([&] { return line.match(QString::fromLatin1(panel_.output().mid(from))).hasMatch(); }, ms);
}

bool PanelFixture::waitForWindow(const QByteArray &name, const QByteArray &other, int ms)
{
    // Asked every 20 ms: each look is an xdotool, whose start costs the panel processor time.
    const QDeadlineTimer deadline(ms);
    for (;;) {
        const XServer::Window now = x_.focus();
        if (now.name == name && now.id != other)
            return true;
        if (deadline.hasExpired())
            return false;
        QTest::qWait(20);
    }
}

bool PanelFixture::open(const QStringList &keys, const QByteArray &name, int ms)
{
    // A page that lists the stick mounts it first and lists it in the same step, after its
    // first paint: a key taken before the mount is lost on an empty list. The mount is in the
    // log of the system's actions.
    static const QByteArrayList stickPages{"StickImportDialog", "StickExportDialog", "JobImportDialog", "UpdateFolderDialog"};
    const auto mounts = [this] {
        QFile log(file(QStringLiteral("/var/log/system-actions.log")));
        return log.open(QIODevice::ReadOnly) ? log.readAll().count("\nmount ") : 0;
    };
    const qsizetype mounted = mounts();
    const QByteArray before = x_.focusWindow();
    if (x_.keys(keys) && waitForWindow(name, before, ms)
        && (!stickPages.contains(name) || QTest::qWaitFor([&] { return mounts() > mounted; }, ms)))
        return true;
    qWarning("keys %s: %s never had the keyboard (%s has it)", qPrintable(keys.join(QLatin1Char(' '))), name.constData(),
             x_.focus().name.constData());
    return false;
}

bool PanelFixture::walk(const QStringList &steps, const char *pictureName)
{
    QStringList pending;
    for (const QString &step : steps) {
        const qsizetype opens = step.indexOf(QLatin1Char('>'));
        if (opens > 0) {
            if (!open(pending << step.left(opens), step.mid(opens + 1).toLatin1()))
                return false;
            pending.clear();
        } else if (step.size() > 1 && (step.at(0).isDigit() || step.at(0) == QLatin1Char('-'))) {
            for (const QChar c : step)
                pending << (c == QLatin1Char('-') ? QStringLiteral("minus") : QString(c));
        } else {
            pending << step;
        }
    }
    return x_.keys(pending) && (!pictureName || picture(pictureName));
}

bool PanelFixture::turnPage(const QStringList &steps, const QRect &area, const char *pictureName)
{
    const QImage before = picture(pictureName) ? QImage(XServer::picture(pictureName)) : QImage();
    if (before.isNull() || !walk(steps))
        return false;
    return !x_.pictureWhen(pictureName, [&](const QImage &now) { return now.copy(area) != before.copy(area); }).isNull();
}

int countPixels(const QImage &image, const QRect &area, const std::function<bool(const QColor &)> &match)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            n += match(image.pixelColor(x, y)) ? 1 : 0;
    }
    return n;
}

bool isRed(const QColor &c)
{
    return c.red() > 150 && c.green() < 100 && c.blue() < 100;
}
