#pragma once

#include "logic/controller/filetransfer.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <functional>

// The full update from one stick folder: the slave and main controllers' images flashed in
// the controller's update mode, then the panel program installed, then the offer to shut
// down. The panel program is staged and checked before any controller is touched, so a bad
// one flashes nothing. The operator's side (questions, messages, the status line, the copy
// window) comes from the page.
class FullUpdate
{
    Q_DECLARE_TR_FUNCTIONS(FullUpdate)

public:
    struct Operator
    {
        std::function<bool(const QString &question)> ask;
        std::function<void(const QString &text)> tell;
        std::function<void(const QString &text)> status; // the red line while a controller programs
        std::function<bool(const QByteArray &from, const QString &to)> copy;
    };

    // The images go to the controllers through transfer.
    FullUpdate(Operator op, FileTransfer transfer) : op_(std::move(op)), transfer_(std::move(transfer)) {}

    // True when both controllers took their images and the panel program was installed.
    bool run(const QByteArray &folder, const QString &target);

private:
    bool flash(int object, const QByteArray &image, const QString &waiting);

    Operator op_;
    FileTransfer transfer_;
};
