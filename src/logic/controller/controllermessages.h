#pragma once

#include <QString>

// The operator's messages about the link to the controller.
namespace ControllerMessages {

inline constexpr char kConnectionFailed[] = QT_TRANSLATE_NOOP("ControllerMessages", "与主控制器连接失败, 请检查通信线路 !");

// What the update pages and the shut-down after an update or a failed check tell.
inline constexpr char kRunningNoUpdate[] = QT_TRANSLATE_NOOP("ControllerMessages", "机头正在运行, 不能升级 !");
inline constexpr char kRunningNoShutDown[] = QT_TRANSLATE_NOOP("ControllerMessages", "机头正在运行, 不能关机 ! ");
inline constexpr char kShuttingDown[] = QT_TRANSLATE_NOOP("ControllerMessages", "正在关机, 请稍等 ... ... ");
inline constexpr char kNoShutDown[] = QT_TRANSLATE_NOOP("ControllerMessages", "不能关机, 请检查主控制器 !");
inline constexpr char kNoUpdateMode[] = QT_TRANSLATE_NOOP("ControllerMessages", "进入升级界面, 请重试 !");
inline constexpr char kUpdateFailed[] = QT_TRANSLATE_NOOP("ControllerMessages", "升级失败, 请重试 !");
inline constexpr char kMasterFlashing[] = QT_TRANSLATE_NOOP("ControllerMessages", "正在烧写主控制器程序, 请等待大约15秒 !( 不要进行其它操作 )");
inline constexpr char kSlaveFlashing[] = QT_TRANSLATE_NOOP("ControllerMessages", "正在烧写从控制器程序, 请等待大约30秒 !( 不要进行其它操作 )");

// One of the texts above in the operator's language.
QString text(const char *source);
// kConnectionFailed in the operator's language.
QString connectionFailed();

// A page refuses because its status query did not say the carriage stands: its own running
// text when the controller said it runs, kConnectionFailed when the query went unanswered.
// The first form asks the link whether the status query just made (ControllerCommands::stopped,
// queryCarriageStatus) was answered; the second reads the status the query gave (through a link of
// the caller's). A running text given as source text is marked QT_TRANSLATE_NOOP("ControllerMessages", ...) and shown translated.
QString refusal(const QString &running);
QString refusal(const char *running);
QString refusal(unsigned int motoStatus, const char *running);

} // namespace ControllerMessages
