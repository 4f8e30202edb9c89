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

// The translators apply() installs are children of the application by these names, which is
// where the next apply() finds them to take them out.
const char kPanelTranslator[] = "panel translator";
const char kQtTranslator[] = "Qt translator";

QString fileName(const QString &code)
{
    return QStringLiteral("knitpanel_%1.qm").arg(code);
}

QTranslator *translatorNamed(const char *name)
{
    QCoreApplication *app = QCoreApplication::instance();
    return app ? app->findChild<QTranslator *>(QLatin1String(name), Qt::FindDirectChildrenOnly) : nullptr;
}

void drop(const char *name)
{
    if (QTranslator *translator = translatorNamed(name)) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

void install(std::unique_ptr<QTranslator> translator, const char *name)
{
    translator->setObjectName(QLatin1String(name));
    translator->setParent(QCoreApplication::instance());
    QCoreApplication::installTranslator(translator.release());
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
    drop(kPanelTranslator);
    drop(kQtTranslator);
    const QString chinese = QString::fromLatin1(Language::kChinese);
    if (code == chinese)
        return chinese; // as the panel always was: its own texts and Qt's untouched
    auto panel = std::make_unique<QTranslator>();
    const QString path = dir + QLatin1Char('/') + fileName(code);
    if (!Language::isCode(code) || !load(panel.get(), path, code)) {
        std::fprintf(stderr, "knitpanel: %s is no translation into \"%s\", the panel speaks Chinese\n",
                     QDir::toNativeSeparators(path).toLocal8Bit().constData(), code.left(40).toLocal8Bit().constData());
        return chinese;
    }
    install(std::move(panel), kPanelTranslator);
    // Qt's own texts follow when their translations are installed (qt6-translations-l10n).
    auto qt = std::make_unique<QTranslator>();
    if (qt->load(QStringLiteral("qtbase_") + code, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        install(std::move(qt), kQtTranslator);
    return code;
}

QString Translations::current()
{
    const QTranslator *panel = translatorNamed(kPanelTranslator);
    return panel ? panel->language() : QString::fromLatin1(Language::kChinese);
}
