#include "translations.h"

#include "language.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>
#include <memory>

namespace {

//: The name of the language of this translation, written in it ("English", "Deutsch"). The
//: language menu shows it as is, whatever language the panel speaks at the time.
const char *const kOwnName = QT_TRANSLATE_NOOP("Translations", "中文");

QTranslator *panelTranslator = nullptr;
QTranslator *qtTranslator = nullptr;
QString speaking = QString::fromLatin1(Language::kChinese);

QString fileName(const QString &code)
{
    return QStringLiteral("knitpanel_%1.qm").arg(code);
}

void drop(QTranslator *&translator)
{
    if (!translator)
        return;
    QCoreApplication::removeTranslator(translator);
    delete translator;
    translator = nullptr;
}

} // namespace

QString Translations::directory()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/knitpanel/translations"));
}

bool Translations::load(QTranslator *translator, const QString &path, const QString &code)
{
    // A foreign file (another program's, another language's) loads too; only ours names its
    // own language in the Translations context.
    return translator->load(path) && translator->language() == code
        && !translator->translate("Translations", kOwnName).isEmpty();
}

QVector<Translations::Installed> Translations::installed(const QString &dir)
{
    QVector<Installed> languages{{QString::fromLatin1(Language::kChinese), QString::fromUtf8(kOwnName)}};
    // Filtered by hand: a name filter is a regular expression, which start-up need not load.
    const QStringList files = QDir(dir).entryList(QDir::Files, QDir::Name);
    for (const QString &file : files) {
        if (!file.startsWith(QLatin1String("knitpanel_")) || !file.endsWith(QLatin1String(".qm")))
            continue;
        const QString code = file.mid(10, file.size() - 13);
        QTranslator translator;
        if (code != QLatin1String(Language::kChinese) && Language::isCode(code)
            && load(&translator, dir + QLatin1Char('/') + file, code))
            languages.append({code, translator.translate("Translations", kOwnName)});
    }
    return languages;
}

QString Translations::apply(const QString &code, const QString &dir)
{
    drop(panelTranslator);
    drop(qtTranslator);
    speaking = QString::fromLatin1(Language::kChinese);
    if (code == speaking)
        return speaking; // as the panel always was: its own texts and Qt's untouched
    auto panel = std::make_unique<QTranslator>();
    const QString path = dir + QLatin1Char('/') + fileName(code);
    if (!Language::isCode(code) || !load(panel.get(), path, code)) {
        std::fprintf(stderr, "knitpanel: %s is no translation into \"%s\", the panel speaks Chinese\n",
                     QDir::toNativeSeparators(path).toLocal8Bit().constData(), code.left(40).toLocal8Bit().constData());
        return speaking;
    }
    panelTranslator = panel.release();
    QCoreApplication::installTranslator(panelTranslator);
    // Qt's own texts follow when their translations are installed (qt6-translations-l10n).
    auto qt = std::make_unique<QTranslator>();
    if (qt->load(QStringLiteral("qtbase_") + code, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        qtTranslator = qt.release();
        QCoreApplication::installTranslator(qtTranslator);
    }
    speaking = code;
    return speaking;
}

QString Translations::current()
{
    return speaking;
}
