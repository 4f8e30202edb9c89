#include "stickjobimport.h"

#include "filetexts.h"
#include "stickjobname.h"

#include "data/cntfile.h"
#include "data/cntrow.h"
#include "data/panelfiles.h"
#include "data/patfile.h"
#include "data/protocol.h"
#include "platform/fsops.h"
#include "platform/nativefs.h"
#include "platform/panelpaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// The staging folder could not be made or put in place: the disk is full or failing.
const char kImportFailed[] = QT_TRANSLATE_NOOP("StickJobImport", "导入编织文件失败 !");
// Hidden folders of the job directory: the new job filled, and the job it replaces while the
// new one takes its name.
const char kStaging[] = "/.import";
const char kParked[] = "/.replaced";

// Answered with the question that may still accept it, or refused with the message.
bool acceptable(int code, const QString &message, const char *question, const StickJobImport::Hooks &hooks)
{
    if (code == Protocol::CheckOk)
        return true;
    hooks.tell(message);
    return code == Protocol::CheckNoChecksum && hooks.ask(StickJobImport::tr(question));
}

} // namespace

StickJobImport::StickJobImport(const QString &root, Hooks hooks)
    : root_(root), staging_(root + QLatin1String(kStaging)), hooks_(std::move(hooks))
{
}

QString StickJobImport::run(const QByteArray &folder, const QByteArray &fileName)
{
    if (NativeFs::isDir(NativeFs::join(folder, fileName))) {
        hooks_.tell(tr("不能导入文件夹, 请选择文件 !"));
        return QString();
    }
    QByteArray nameBytes;
    const QString name = StickJobName::of(fileName, &nameBytes);
    if (name.isEmpty()) {
        hooks_.tell(tr("编织文件名称不正确, 导入失败 !"));
        return QString();
    }
    const bool replacing = QFileInfo::exists(root_ + QLatin1Char('/') + name);
    if (replacing && !hooks_.ask(tr("该编织文件已经存在, 是否覆盖 ?")))
        return QString();
    const QByteArray cnt = StickJobName::find(folder, nameBytes, "cnt");
    if (cnt.isEmpty()) {
        hooks_.tell(tr("缺少cnt文件,导入失败 !"));
        return QString();
    }
    const QByteArray pat = StickJobName::find(folder, nameBytes, "pat");
    if (pat.isEmpty()) {
        hooks_.tell(tr("缺少pat文件,导入失败 !"));
        return QString();
    }
    if (!checked(cnt, pat))
        return QString();
    const bool ok = stage(name, folder, nameBytes, cnt, pat, replacing) && putInPlace(name, replacing);
    FsOps::removeTree(staging_);
    FsOps::sync();
    if (!ok)
        return QString();
    hooks_.tell(tr("导入编织文件成功 !"));
    return name;
}

bool StickJobImport::checked(const QByteArray &cnt, const QByteArray &pat)
{
    QByteArray data;
    const CntCheck program = NativeFs::read(cnt, kCntMaxFileSize + 1, &data)
        ? CntFile::checkData(reinterpret_cast<const unsigned char *>(data.constData()), data.size())
        : CntCheck();
    if (!acceptable(program.code, CntFile::importMessage(program.code),
                    QT_TRANSLATE_NOOP("StickJobImport", "cnt文件没有校验码,是否导入 !"), hooks_))
        return false;
    const PatCheck pattern = NativeFs::read(pat, PatFile::kMaxFileSize + 1, &data)
        ? PatFile::checkData(reinterpret_cast<const unsigned char *>(data.constData()), data.size())
        : PatCheck();
    return acceptable(pattern.code, PatFile::importMessage(pattern.code),
                      QT_TRANSLATE_NOOP("StickJobImport", "pat文件没有校验码,是否导入 !"), hooks_);
}

bool StickJobImport::stage(const QString &name, const QByteArray &folder, const QByteArray &nameBytes,
                           const QByteArray &cnt, const QByteArray &pat, bool replacing)
{
    FsOps::removeTree(staging_);
    if (!makeDirectory(staging_)) {
        hooks_.tell(tr(kImportFailed));
        return false;
    }
    const QString base = staging_ + QLatin1Char('/') + name;
    // Taken before the copies: a copy hook may move the file rather than copy it.
    NativeFs::Entry program;
    NativeFs::stat(cnt, &program);
    const QByteArray wrk = importWork ? StickJobName::find(folder, nameBytes, "wrk") : QByteArray();
    if (replacing) {
        // The job keeps its own files (its work parameters above all, unless the stick's
        // replace them), but not its picture: the program and pattern come from the stick.
        const QString old = root_ + QLatin1Char('/') + name;
        QStringList replaced{name + QStringLiteral(".cnt"), name + QStringLiteral(".pat"), name + QStringLiteral(".xxx")};
        if (!wrk.isEmpty())
            replaced.append(name + QStringLiteral(".wrk"));
        for (const QFileInfo &f : QDir(old).entryInfoList(QDir::Files | QDir::Hidden)) {
            if (!replaced.contains(f.fileName()) && !FsOps::copyFile(f.filePath(), staging_ + QLatin1Char('/') + f.fileName())) {
                hooks_.tell(tr(kImportFailed));
                return false;
            }
        }
    }
    if (!hooks_.copy(cnt, base + QStringLiteral(".cnt"))) {
        hooks_.tell(tr("导入cnt文件失败 !"));
        return false;
    }
    if (!hooks_.copy(pat, base + QStringLiteral(".pat"))) {
        hooks_.tell(tr("导入pat文件失败 !"));
        return false;
    }
    const QByteArray xxx = importPicture ? StickJobName::find(folder, nameBytes, "xxx") : QByteArray();
    if (!xxx.isEmpty())
        hooks_.copy(xxx, base + QStringLiteral(".xxx"));
    if (!wrk.isEmpty()) {
        if (!hooks_.copy(wrk, base + QStringLiteral(".wrk"))) {
            hooks_.tell(tr("导入wrk文件失败 !"));
            return false;
        }
    } else if (!QFileInfo::exists(base + QStringLiteral(".wrk"))
               && !hooks_.copy(QFile::encodeName(PanelPaths::tmp(QStringLiteral("/default.wrk"))), base + QStringLiteral(".wrk"))) {
        // A new job without work parameters of its own starts from the default ones.
        hooks_.tell(tr("生成默认工作参数失败 !"));
        return false;
    }
    // Only the list's time column needs it: a job without it shows "error" there. Its save
    // flushes the staging folder's names, those of files a copy hook moved in among them;
    // without it they are flushed here, before the folder is put in place.
    if (!createDateTimeFile(base + QStringLiteral(".txt"), FileTexts::dateString(program.modified))
        && !NativeFs::sync(QFile::encodeName(staging_))) {
        hooks_.tell(tr(kImportFailed));
        return false;
    }
    return true;
}

bool StickJobImport::putInPlace(const QString &name, bool replacing)
{
    const QString job = root_ + QLatin1Char('/') + name;
    const QString old = root_ + QLatin1String(kParked);
    FsOps::removeTree(old);
    if (replacing && !FsOps::rename(job, old)) {
        hooks_.tell(tr(kImportFailed));
        return false;
    }
    if (!FsOps::rename(staging_, job)) {
        if (replacing)
            FsOps::rename(old, job);
        hooks_.tell(tr(kImportFailed));
        return false;
    }
    FsOps::removeTree(old);
    return true;
}

void StickJobImport::recover(const QString &root)
{
    const QString parked = root + QLatin1String(kParked);
    const QStringList programs = QDir(parked).entryList({QStringLiteral("*.cnt")}, QDir::Files);
    if (programs.size() == 1)
        FsOps::rename(parked, root + QLatin1Char('/') + QFileInfo(programs.first()).completeBaseName());
    FsOps::removeTree(parked);
    FsOps::removeTree(root + QLatin1String(kStaging));
}
