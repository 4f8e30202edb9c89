#pragma once

#include <QCoreApplication>
#include <QString>

// The operator messages the parameter pages share.
namespace ParamMessages {

inline constexpr char kOutOfRange[] = QT_TRANSLATE_NOOP("ParamMessages", "参数范围不正确, 请查看参数范围 !");
inline constexpr char kRetry[] = QT_TRANSLATE_NOOP("ParamMessages", "参数设置失败, 请重试 !");
inline constexpr char kCheckNetwork[] = QT_TRANSLATE_NOOP("ParamMessages", "参数设置失败, 请检查网络 !");
inline constexpr char kRunning[] = QT_TRANSLATE_NOOP("ParamMessages", "机头正在运行, 不能设置 !");
inline constexpr char kPasswordPrompt[] = QT_TRANSLATE_NOOP("ParamMessages", "该参数修改需要密码, 请输入密码: ");
inline constexpr int kPasswordLength = 10;

// One of the messages above in the operator's language.
inline QString text(const char *message)
{
    return QCoreApplication::translate("ParamMessages", message);
}

} // namespace ParamMessages
