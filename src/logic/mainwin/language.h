#pragma once

#include <QByteArray>
#include <QString>

// The operator's choice of language, kept in the panel's own panel.ini ([panel] language=),
// never in a file the controller reads. Chinese, the language the texts are written in, is
// what the panel speaks without the file or with anything in it that is not a language code.
class Language
{
public:
    static const char *const kChinese; // "zh_CN"
    static constexpr int kMaxFileBytes = 4096;

    static QString settingsPath(); // $KNIT_ROOT/mnt/ide/knit/panel.ini
    // The saved choice; Chinese when there is none. A file that cannot be read or a code that
    // is refused gives Chinese and one line on stderr.
    static QString load();
    // Saves the choice at once, atomically, keeping the file's other lines. A file that could
    // not be read is written afresh. False (and why) when the code is refused or the save failed.
    static bool save(const QString &code, QString *why = nullptr);
    // A language code as translation files are named: "en", "de", "zh_CN"; nothing that could
    // name another file ("../x", "en/..").
    static bool isCode(const QString &code);

    // The pieces of load and save, without the file.
    static QString parse(const QByteArray &text, QString *why);
    static QByteArray withLanguage(const QByteArray &text, const QString &code);
};
