// Loading the current job into memory and onto the main screen, and saving its work parameters.
#include "mainscreen.h"

#include "startpicture.h"

#include "data/cntfile.h"
#include "data/cntprogram.h"
#include "data/jobname.h"
#include "data/machinedata.h"
#include "data/patfile.h"
#include "data/protocol.h"
#include "data/workfile.h"
#include "platform/panelpaths.h"
#include "ui/operatordialogs.h"
#include "ui/pattopicture.h"
#include "ui/touchlabel.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>

#include <cstdio>

namespace {

QString jobBase(const QString &name)
{
    return PanelPaths::data(QStringLiteral("/wave/") + name + QLatin1Char('/') + name);
}

} // namespace

void MainScreen::openJob(const QString &name)
{
    placeMessage(1, 0);

    // A name that is not one plain path component names no job on this disk.
    const bool safe = JobName::isSafe(name);
    const QString base = jobBase(name);
    bool accepted = safe;

    // Each file read once: the pattern's width comes from its check's read, and the program
    // is checked where it is read, in the program image.
    int width = 0;
    const int patResult = safe ? PatFile::check(base + QStringLiteral(".pat"), &width).code : int(PatCheck::OpenFailed);
    if (PatFile::isAccepted(patResult)) {
        machineData_.runSettings().setWord(Protocol::PieceWidthWord, static_cast<unsigned short>(width));
    } else {
        machineData_.runSettings().setWord(Protocol::PieceWidthWord, 1);
        accepted = false;
    }

    // A program refused by its size is never read into the image, and no row beyond the
    // file's records is ever read.
    CntCheck cnt;
    const CntLoad load = safe ? CntProgram::loadAccepted(machineData_, base + QStringLiteral(".cnt"), &cnt) : CntLoad();
    if (CntFile::isAccepted(cnt.code)) {
        machineData_.controllerState().setWord(Protocol::RowsWord, static_cast<unsigned short>(load.rows));
    } else {
        machineData_.controllerState().setWord(Protocol::RowsWord, 1);
        accepted = false;
    }

    bool wrkOpened = false;
    if (safe) {
        QFile wrk(base + QStringLiteral(".wrk"));
        if (wrk.open(QIODevice::ReadOnly)) {
            wrkOpened = true;
            // A short file fills only its own length; the rest keeps what it held.
            machineData_.work().fill(wrk.read(qint64(kWorkSize)));
        }
    }

    if (wrkOpened && accepted) {
        desktop_->setJob(name);
        paintJob(name);
        const QString xxx = base + QStringLiteral(".xxx");
        if (QFileInfo::exists(xxx)) {
            placeMessage(1, 1);
            picturePath_ = xxx;
            patPicture_->openPatternPicture(xxx);
        }
    } else {
        showJobDropped();
    }
    std::printf("%d\n", int(machineData_.controllerState().byte(Protocol::RunningByte)));
    std::fflush(stdout);
}

void MainScreen::showJobDropped()
{
    machineData_.setJobName(QString());
    desktop_->setJob(QString());
    paintNoJob();
    // A path no job uses, so the picture shows nothing.
    picturePath_ = PanelPaths::data(QStringLiteral("/wave/123/123.xxx"));
    patPicture_->openPatternPicture(picturePath_);
}

void MainScreen::paintJob(const QString &name)
{
    jobName_->setText(tr("名 称: %1").arg(name));
    paintJobSize(machineData_.runSettings().word(Protocol::PieceWidthWord), machineData_.controllerState().word(Protocol::RowsWord));
    paintRow(machineData_.controllerState().word(Protocol::RowWord));
    paintKnitTime(machineData_.controllerState().word(Protocol::KnitFirstWord), machineData_.controllerState().word(Protocol::KnitSecondsWord));
    paintStopTime(machineData_.controllerState().word(Protocol::StopFirstWord), machineData_.controllerState().word(Protocol::StopSecondsWord));
    paintPieces(machineData_.controllerState().word(Protocol::PiecesDoneWord), machineData_.controllerState().word(Protocol::PiecesWord));
    paintStartNeedle(machineData_.work().word(Protocol::JobStartNeedleWord));
}

void MainScreen::paintNoJob()
{
    jobName_->setText(tr("名 称: %1").arg(QString()));
    paintJobSize(0, 0);
    paintRow(0);
    paintKnitTime(0, 0);
    paintStopTime(0, 0);
    paintPieces(0, 0);
    paintStartNeedle(0);
}

void MainScreen::paintJobSize(unsigned short width, unsigned short rows)
{
    //: Job line under the name (230 px): piece width and program rows.
    jobSize_->setText(tr("宽 度: %1            长 度: %2").arg(width).arg(rows));
}

void MainScreen::saveWorkFile(const QString &path)
{
    // Saved whole or not at all: a failed save leaves the old file as it was.
    if (!WorkFile::save(machineData_, path))
        showMessage(this, tr("没有编织文件, 请先设置编织文件 !"));
}

void MainScreen::loadJob(const QString &name)
{
    openJob(name);
    std::printf("%s\n", name.toLocal8Bit().constData());
    std::fflush(stdout);
}

void MainScreen::setDesktopPicture(const QString &path)
{
    if (desktop_)
        desktop_->setPicture(path);
}

void MainScreen::updateDesktop()
{
    if (desktop_)
        desktop_->setVisible(!desktop_->isVisible());
}
