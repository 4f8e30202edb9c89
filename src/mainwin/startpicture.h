#pragma once

#include "logic/mainwin/machinestate.h"

#include <QFrame>
#include <QPixmap>
#include <QString>
#include <QStringList>

class TouchLabel;

// The start picture over the main screen's data area: the desktop picture file when there is
// one, else the panel's own drawing of the machine's name, its job and its state, kept up to
// date. Its top-right corner is the language menu's touch target: the installed languages,
// each by its own name.
class StartPicture : public QFrame
{
    Q_OBJECT

public:
    explicit StartPicture(QWidget *parent = nullptr);

    // A file that cannot be read as a picture leaves the panel's own drawing.
    void setPicture(const QString &path);
    bool hasPicture() const { return !picture_.isNull(); }
    void setMachine(const QString &name);
    void setJob(const QString &job);
    void setState(MachineState::Kind state);
    void setLanguages(const QStringList &names);
    TouchLabel *languageTarget() const { return languages_; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void drawOwn(QPainter &painter);

    TouchLabel *languages_;
    QPixmap picture_;
    QString machine_;
    QString job_;
    MachineState::Kind state_ = MachineState::Kind::Unknown;
};
