// Feeds arbitrary bytes to knitfleet serve's readers of its operator's files: the alerts file
// (--alerts) and the halls file (--groups). Neither may crash; rules taken have a condition,
// a webhook or e-mail, distinct names and machines' globs; a hall is never empty.
#include "seeds.h"

#include "dashboard/alertrules.h"
#include "dashboard/groupmap.h"

#include <QSet>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 80 * 1024)
        return 0;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    AlertRules rules;
    QString why;
    if (AlertRules::parse(bytes, &rules, &why)) {
        QSet<QString> names;
        for (const AlertRules::Rule &r : std::as_const(rules.rules)) {
            ABORT_IF(names.contains(r.name) || (r.webhook.isEmpty() && r.email.isEmpty()) || r.machines.isEmpty());
            ABORT_IF(!r.email.isEmpty() && rules.smtp.url.isEmpty());
            names.insert(r.name);
            rules.appliesTo(r, QStringLiteral("HALL2-017"));
        }
    }
    GroupMap groups;
    if (GroupMap::parse(bytes, &groups, &why))
        for (const char *id : {"HALL2-017", "A", "-", "X-Y-Z"})
            ABORT_IF(groups.group(QLatin1String(id)).isEmpty());
    return 0;
}

std::vector<std::string> knit_fuzz_seeds()
{
    return {"{\"smtp\":{\"url\":\"smtp://127.0.0.1:2525\",\"from\":\"knitfleet@mill.example\",\"username\":\"u\","
            "\"password_file\":\"/p\"},\"rules\":[{\"name\":\"stands\",\"when\":\"stop\",\"after_s\":600,\"machines\":\"HALL2-*\","
            "\"webhook\":\"https://hooks.mill.example/k\",\"secret_file\":\"/s\",\"cooldown_s\":1800},{\"name\":\"crash\","
            "\"when\":\"alarm\",\"types\":[2],\"machines\":[\"A*\",\"B?\"],\"email\":[\"office@mill.example\"]},{\"name\":\"low\","
            "\"when\":\"availability\",\"below_pct\":60,\"webhook\":\"http://127.0.0.1:9/x\"}]}",
            "# halls\nHALL2-* = Hall 2\n*-0?? = 二车间\nA*B = x\n"};
}
