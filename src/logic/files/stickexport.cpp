#include "stickexport.h"

#include "stickmount.h"

#include "platform/nativefs.h"

#include <QDir>
#include <QFileInfo>

StickExport::StickExport(Hooks hooks)
    : hooks_(std::move(hooks))
{
}

bool StickExport::run(const QString &source, const QByteArray &folder)
{
    const QFileInfo src(source);
    bool ok = src.exists();
    if (ok && (src.isFile() || !asFiles)) {
        const QByteArray to = NativeFs::join(folder, StickMount::nameBytes(src.fileName()));
        if (NativeFs::exists(to) && !hooks_.ask(tr("该文件夹已经存在, 是否覆盖 ?")))
            return false;
        ok = src.isFile() ? hooks_.copy(source, to) : NativeFs::makeDir(to) && copyFiles(source, to);
    } else if (ok) {
        if (!hooks_.ask(tr("确定导出该文件吗 ?")))
            return false;
        ok = copyFiles(source, folder);
    }
    hooks_.tell(ok ? tr("导出文件完毕 !") : tr("导出文件失败, 请重试 !"));
    return ok;
}

bool StickExport::copyFiles(const QString &sourceDir, const QByteArray &to)
{
    for (const QFileInfo &f : QDir(sourceDir).entryInfoList(QDir::Files | QDir::NoSymLinks, QDir::Name)) {
        if (!hooks_.copy(f.filePath(), NativeFs::join(to, StickMount::nameBytes(f.fileName()))))
            return false;
    }
    return true;
}
