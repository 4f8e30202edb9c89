#include "panelfixture.h"

#include "portoffset.h"
#include "ui/messageframe.h"

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

bool PanelFixture::startPanel(const QString &timeoutScale, const QProcessEnvironment &extra)
{
    QProcessEnvironment env = x_.environment();
    env.insert(extra);
    main_.clear();
    return panel_.start(env, root_->path(), sim_.portOffset(), timeoutScale);
}

bool PanelFixture::waitForMainScreen(int ms)
{
    if (!sim_.waitFor(QStringLiteral("cmd 26"), ms)
        || !QTest::qWaitFor([this] { return x_.screenSizedFocus(); }, ms))
        return false;
    main_ = x_.focusWindow();
    return !main_.isEmpty();
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

bool PanelFixture::waitForFocusOff(const QByteArray &before, int ms)
{
    // A dialog closing over another that closes too passes the keyboard on twice: the focus
    // counts once it stays where it is while the screen settles, so the next key is not lost
    // on a window about to go.
    const QDeadlineTimer deadline(ms);
    QByteArray now;
    while (QTest::qWaitFor([&] { now = x_.focusWindow(); return !now.isEmpty() && now != before; }, int(deadline.remainingTime()))) {
        x_.settled();
        if (x_.focusWindow() == now)
            return true;
    }
    return false;
}

bool PanelFixture::waitForMain(int ms)
{
    return QTest::qWaitFor([&] { return !main_.isEmpty() && x_.focusWindow() == main_; }, ms);
}

bool PanelFixture::waitForMessage(int ms)
{
    const QSize size = MessageFrame::kGeometry.size();
    const QByteArray geometry = QByteArray::number(size.width()) + 'x' + QByteArray::number(size.height());
    if (!QTest::qWaitFor([&] { return x_.focusOfSize(geometry); }, ms))
        return false;
    x_.settled();
    return true;
}

bool PanelFixture::switchWith(const QStringList &keys, int ms)
{
    const QByteArray before = x_.focusWindow();
    for (const QString &k : keys) {
        if (!x_.key(k))
            return false;
    }
    return waitForFocusOff(before, ms);
}

bool PanelFixture::walk(const QStringList &steps, const char *pictureName)
{
    for (const QString &step : steps) {
        if (step.endsWith(QLatin1Char('+'))) {
            if (!switchWith({step.chopped(1)}))
                return false;
            continue;
        }
        const bool typed = step.size() > 1 && step.at(0).isDigit();
        if (!x_.keys(typed ? step.split(QString(), Qt::SkipEmptyParts) : QStringList{step}))
            return false;
    }
    return x_.keys({}, pictureName);
}

bool PanelFixture::backWith(const QStringList &keys, int ms)
{
    for (const QString &k : keys) {
        if (!x_.key(k))
            return false;
    }
    return waitForMain(ms);
}
