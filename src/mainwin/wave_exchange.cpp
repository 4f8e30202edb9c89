// The start-up exchange with the controller: fetch and compare the parameter blocks, take the
// current job's name and send its files back.
#include "wave.h"

#include "data/cntfile.h"
#include "data/jobname.h"
#include "data/parablocks.h"
#include "data/patfile.h"
#include "files/fileoperatedialog.h"
#include "link/commands.h"
#include "link/controlleraddress.h"
#include "platform/panelpaths.h"
#include "ui/operatordialogs.h"
#include "ui/fileoperate.h"

#include <QFile>
#include <QFileInfo>

namespace {

const char kConnectionFailed[] = "与主控制器连接失败, 请检查通信线路 !";

QByteArray readAtMost(const QString &path, qint64 size, bool *opened)
{
    QFile f(path);
    *opened = f.open(QIODevice::ReadOnly);
    return *opened ? f.read(size) : QByteArray();
}

// First offset in [from, size) where the two images differ, or -1.
int firstDifference(const unsigned char *a, const unsigned char *b, int from, int size)
{
    for (int i = from; i < size; ++i) {
        if (a[i] != b[i])
            return i;
    }
    return -1;
}

QString mismatchText(const char *head, int offset, int first, int second)
{
    return QString::fromUtf8(head) + QString::number(offset) + QStringLiteral(" - ") + QString::number(first)
        + QStringLiteral(" - ") + QString::number(second) + QString::fromUtf8(". 是否关机 ?");
}

} // namespace

bool wave::fetchBlock(const QString &name, int size, QByteArray *out)
{
    const QString path = PanelPaths::tmp(QLatin1Char('/') + name);
    bool opened = false;
    if (fileoperate::tftpgetfile(path, ControllerAddress::current()))
        *out = readAtMost(path, size, &opened);
    // A block shorter than its size would leave stale bytes behind: count it as no answer.
    if (!opened || out->size() != size) {
        DIAMESSAGE(this, QString::fromUtf8(kConnectionFailed));
        return false;
    }
    return true;
}

void wave::wave_start_system()
{
    QByteArray block;
    if (!fetchBlock(QStringLiteral("file.sys"), int(kSystemSize), &block))
        return;
    para_system.fill(block);

    const QString checkSystem = PanelPaths::data(QStringLiteral("/para/checksystem.sys"));
    bool opened = false;
    const QByteArray reference = readAtMost(checkSystem, qint64(kSystemSize), &opened);
    if (!opened) {
        DIAMESSAGE(this, QString::fromUtf8("打开系统参数校验文件失败 !"));
        if (!FileOperateDialog::copy(PanelPaths::tmp(QStringLiteral("/file.sys")), checkSystem))
            DIAMESSAGE(this, QString::fromUtf8("复制系统参数校验文件失败 !"));
    } else {
        // A short reference copy compares as zeros past its end.
        ParaBlock<kSystemSize> ref;
        ref.fill(reference);
        const int i = firstDifference(ref.data(), para_system.data(), 2, int(kSystemSize));
        if (i >= 0) {
            if (DIAYESNO(this, mismatchText("系统参数校验失败! - ", i, ref.byte(i), para_system.byte(i)))) {
                shutdownController();
                return;
            }
            checkresult = 1;
        }
    }

    if (!fetchBlock(QStringLiteral("config.cfg"), int(kConfigCheckSize), &block))
        return;
    cfgcheck1.fill(block);

    const QString checkConfig = PanelPaths::data(QStringLiteral("/para/checkconfig.cfg"));
    const QByteArray config = readAtMost(checkConfig, qint64(kConfigCheckSize), &opened);
    if (!opened) {
        DIAMESSAGE(this, QString::fromUtf8("打开个性化校验文件失败 !"));
        if (!FileOperateDialog::copy(PanelPaths::tmp(QStringLiteral("/config.cfg")), checkConfig))
            DIAMESSAGE(this, QString::fromUtf8("复制个性化参数校验文件失败 !"));
    } else {
        cfgcheck2.clear();
        cfgcheck2.fill(config);
        const int i = firstDifference(cfgcheck1.data(), cfgcheck2.data(), 0, int(kConfigCheckSize));
        if (i >= 0) {
            if (DIAYESNO(this, mismatchText("个性化校验文件失败! - ", i, cfgcheck1.byte(i), cfgcheck2.byte(i)))) {
                shutdownController();
                return;
            }
            checkresult |= 2;
        }
    }

    if (!fetchBlock(QStringLiteral("file.knt"), int(kCurSize), &block))
        return;
    para_cur.fill(block);

    QByteArray nameBytes;
    for (std::size_t i = 40; i < 40 + 251 && para_cur.byte(i) != 0; ++i)
        nameBytes.append(char(para_cur.byte(i)));
    strcurfilename += JobName::decode(nameBytes);

    if (para_cur.byte(29) != 0)
        return;
    if (strcurfilename.isEmpty()) {
        DIAMESSAGE(this, QString::fromUtf8("没有编织文件, 请选择 !"));
        return;
    }
    checkAndSendJob(strcurfilename);
}

void wave::checkAndSendJob(const QString &name)
{
    // A name that is not one plain path component is treated as a job that is not on disk.
    const bool safe = JobName::isSafe(name);
    const QString base = PanelPaths::data(QStringLiteral("/wave/") + name + QLatin1Char('/') + name);
    const QString wrk = base + QStringLiteral(".wrk");
    const QString cnt = base + QStringLiteral(".cnt");
    const QString pat = base + QStringLiteral(".pat");

    if (!safe || !QFileInfo::exists(wrk)) {
        DIAMESSAGE(this, QString::fromUtf8("缺少.wrk 文件,请重新导入 !"));
        return;
    }
    if (!QFileInfo::exists(cnt)) {
        DIAMESSAGE(this, QString::fromUtf8("缺少.cnt 文件,请重新导入 !"));
        return;
    }
    if (!QFileInfo::exists(pat)) {
        DIAMESSAGE(this, QString::fromUtf8("缺少.pat 文件,请重新导入 !"));
        return;
    }
    const int cntResult = cntfilecheck(cnt);
    if (cntResult == 1 || cntResult == 4 || cntResult == 5) {
        DIAMESSAGE(this, CntFile::message(cntResult));
        return;
    }
    const int patResult = patfilecheck(pat);
    if (patResult == 1 || (patResult >= 4 && patResult <= 9)) {
        DIAMESSAGE(this, PatFile::message(patResult));
        return;
    }
    const QHostAddress controller = ControllerAddress::current();
    if (fileoperate::tftpputfile(wrk, controller) && fileoperate::tftpputfile(cnt, controller))
        fileoperate::tftpputfile(pat, controller);
}

void wave::shutdownController()
{
    if (getmotostatus() != 0) {
        DIAMESSAGE(this, QString::fromUtf8("机头正在运行, 不能关机 ! "));
        return;
    }
    if (setparacom(0x2A, 1, 0x20, 0))
        DIAMESSAGE(this, QString::fromUtf8("正在关机, 请稍等 ... ... "));
    else
        DIAMESSAGE(this, QString::fromUtf8("不能关机, 请检查主控制器 !"));
}
