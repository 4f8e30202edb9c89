#include "patstore.h"

#include "logic/controller/controllermessages.h"

#include <QCoreApplication>

namespace {

const char kRunning[] = QT_TRANSLATE_NOOP("ControllerMessages", "机头正在运行, 不能修改 !");
const char kOpenFailed[] = QT_TRANSLATE_NOOP("PatStore", "花样文件修改失败1 , 请重试 !");
const char kSendFailed[] = QT_TRANSLATE_NOOP("PatStore", "花样文件修改失败2 , 请重试 !");

} // namespace

PatStore::PatStore(EditorLink link)
    : link_(std::move(link))
{
}

bool PatStore::load(const QString &path)
{
    path_ = path;
    return pixels_.load(path);
}

bool PatStore::save() const
{
    return pixels_.save(path_);
}

unsigned char PatStore::byte(int line, int k) const
{
    return static_cast<unsigned char>((pixels_.pixel(2 * k, line) << 4) | pixels_.pixel(2 * k + 1, line));
}

void PatStore::put(int line, int k, unsigned char value)
{
    pixels_.setPixel(2 * k, line, value >> 4);
    pixels_.setPixel(2 * k + 1, line, value & 0x0f);
}

QString PatStore::openLive() const
{
    if (const unsigned int status = link_.motoStatus(); status != 0)
        return ControllerMessages::refusal(status, kRunning);
    if (!link_.open(kGroup))
        return QCoreApplication::translate("PatStore", kOpenFailed);
    return {};
}

QString PatStore::enter(int line, int k, unsigned char value, bool live)
{
    if (line < 0 || line >= pixels_.height() || k < 0 || k >= pixels_.lineBytes())
        return {};
    if (!live) {
        put(line, k, value);
        return {};
    }
    const QString refused = openLive();
    if (!refused.isEmpty())
        return refused;
    const bool sent = link_.row(static_cast<unsigned short>(line + 1), static_cast<unsigned short>(k), value);
    // Closed whether the byte went through or not: the controller must not stay in the update.
    const bool closed = link_.closeRetrying(kGroup);
    if (!sent || !closed) {
        if (sent)
            put(line, k, value);
        return QCoreApplication::translate("PatStore", kSendFailed);
    }
    put(line, k, value);
    return {};
}

QString PatStore::fillLine(int line, unsigned char value, bool live)
{
    if (line < 0 || line >= pixels_.height())
        return {};
    const unsigned char both = static_cast<unsigned char>((value & 0x0f) * 17);
    if (!live) {
        for (int k = 0; k < pixels_.lineBytes(); ++k)
            put(line, k, both);
        return {};
    }
    const QString refused = openLive();
    if (!refused.isEmpty())
        return refused;
    QString message;
    for (int k = 0; k < pixels_.lineBytes(); ++k) {
        if (!link_.row(static_cast<unsigned short>(line + 1), static_cast<unsigned short>(k), both)) {
            message = QCoreApplication::translate("PatStore", kSendFailed);
            break;
        }
        put(line, k, both);
    }
    if (!link_.closeRetrying(kGroup) && message.isEmpty())
        message = QCoreApplication::translate("PatStore", kSendFailed);
    return message;
}
