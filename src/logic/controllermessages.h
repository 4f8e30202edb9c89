#pragma once

#include <QString>

// The operator's messages about the link to the controller.
namespace ControllerMessages {

inline constexpr char kConnectionFailed[] = QT_TRANSLATE_NOOP("ControllerMessages", "与主控制器连接失败, 请检查通信线路 !");

// kConnectionFailed in the operator's language.
QString connectionFailed();

// A page refuses because its status query did not say the carriage stands: its own running
// text when the controller said it runs, kConnectionFailed when the query went unanswered.
// The first form asks the link whether getmotostatus, just called, was answered; the second
// reads the status the query gave (through a link of the caller's).
QString refusal(const QString &running);
inline QString refusal(const char *running) { return refusal(QString::fromUtf8(running)); }
QString refusal(unsigned int motoStatus, const char *running);

} // namespace ControllerMessages
