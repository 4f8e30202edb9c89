#pragma once

#include <QString>
#include <QVector>

class QTranslator;

// Puts the panel's and Qt's translations for a language in place, and lists the languages
// installed beside the program, each by the name its own translation gives it. Chinese, the
// language the texts are written in, is always there and needs no file.
class Translations
{
public:
    struct Installed
    {
        QString code; // "zh_CN", "en"
        QString name; // in its own language: "中文", "English"
    };

    // <program>/../share/knitpanel/translations: /usr/share/... for the package, build/share/...
    // for a build.
    static QString directory();
    static QVector<Installed> installed(const QString &dir = directory());
    // Installs the translators for code and returns the language the panel now speaks: code,
    // or Chinese (with one line on stderr) when its file is missing, cut short or not the
    // panel's translation into code. Every widget gets a LanguageChange event. The translators
    // are the application's children, where current() and the next apply() find them.
    static QString apply(const QString &code, const QString &dir = directory());
    static QString current();

    // Whether the file at path is the panel's translation into code, loaded into translator.
    static bool load(QTranslator *translator, const QString &path, const QString &code);
};
