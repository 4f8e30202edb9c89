#pragma once

// The operator messages the parameter pages share.
namespace ParamMessages {

inline constexpr char kOutOfRange[] = "参数范围不正确, 请查看参数范围 !";
inline constexpr char kRetry[] = "参数设置失败, 请重试 !";
inline constexpr char kCheckNetwork[] = "参数设置失败, 请检查网络 !";
inline constexpr char kRunning[] = "机头正在运行, 不能设置 !";
inline constexpr char kPasswordPrompt[] = "该参数修改需要密码, 请输入密码: ";
inline constexpr int kPasswordLength = 10;

} // namespace ParamMessages
