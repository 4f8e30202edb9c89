#pragma once

#include <QString>

// The zeroing and row-skipping sequences kept in the message line's first message: their
// texts and how each machine report advances them.
class MessageSteps
{
public:
    enum class Report { ZeroingStarted, Started, Stopped, ZeroingFinished };
    enum class Kind {
        None,   // leave the message line as it is
        Show,   // both messages: text and an empty second one
        Set,    // first message only
        Cancel, // empty and hide the line
    };
    struct Action
    {
        Kind kind = Kind::None;
        QString text;
    };

    static QString zeroArmed();      // "启动拉杆,开始归零. "
    static QString zeroing();        // "系统归零, 请等待. "
    static QString skipZeroArmed();  // "启动拉杆,开始跳行归零. "
    static QString skipZeroing();    // "正在跳行归零,请等待. "
    static QString skipArmed();      // "启动拉杆, 开始跳行. "
    static QString skipping();       // "正在跳行,请等待. "

    // What report does to the line whose first message is message1.
    static Action step(Report report, const QString &message1);
};
