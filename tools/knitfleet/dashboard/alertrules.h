#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The alerts of --alerts FILE: {"smtp":{"url","from","username","password_file","cafile"},
// "rules":[{"name","when","after_s","types","below_pct","machines","webhook","secret_file",
// "email","cooldown_s"}]}. A rule fires when its condition has held after_s for a machine:
// `stop` stood without a reason, `alarm` an alarm (of `types`, if given) stands, `offline` the
// panel or its controller is offline, `availability` the open shift's is below below_pct. The
// file is taken whole or refused whole, naming what is wrong; its secrets are read from files
// of their own (the first line), so the rules file holds none.
class AlertRules
{
public:
    enum class When { Stop, Alarm, Offline, Availability };
    static constexpr int kMaxBytes = 64 * 1024;
    static constexpr int kMaxRules = 100;
    static constexpr int kMaxList = 50;
    static constexpr int kDefaultCooldownS = 1800;

    struct Smtp
    {
        QString url; // smtp:// (STARTTLS, required) or smtps://
        QString from;
        QString username;
        QString passwordFile;
        QString cafile;
        QByteArray password;
    };
    struct Rule
    {
        QString name;
        When when = When::Stop;
        int afterS = 0;
        QList<int> types;
        double belowPct = 0;
        QStringList machines{QStringLiteral("*")};
        QString webhook;
        QString secretFile;
        QByteArray secret;
        QStringList email;
        int cooldownS = kDefaultCooldownS;
    };

    // The file's JSON, secrets not read; false with why.
    static bool parse(const QByteArray &json, AlertRules *out, QString *why);
    // The file and the secrets it names.
    static bool read(const QString &path, AlertRules *out, QString *why);
    bool appliesTo(const Rule &rule, const QString &machine) const;
    static const char *whenName(When when);

    Smtp smtp;
    QList<Rule> rules;
};
