#pragma once

#include "logic/machinestate.h"

#include <QFrame>
#include <QPixmap>
#include <QString>

// The start picture over the main screen's data area: the desktop picture file when there is
// one, else the panel's own drawing of the machine's name, its job and its state, kept up to
// date. The top-right corner stays free of text (a touch target goes there).
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

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void drawOwn(QPainter &painter);

    QPixmap picture_;
    QString machine_;
    QString job_;
    MachineState::Kind state_ = MachineState::Kind::Unknown;
};
