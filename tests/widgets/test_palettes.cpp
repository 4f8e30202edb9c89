// The process-wide palettes, role by role, for the default dark colour and a configured one
// (faults: an old role mapped to the wrong new one, a palette not rebuilt when the colour
// changes, a role that should keep the default overwritten, an out-of-range colour field
// giving an invalid colour).
#include "data/parablocks.h"
#include "ui/palettes.h"

#include <QTest>

namespace {

// A few roles that between them tell every palette apart.
const QList<QPalette::ColorRole> kRoles = {QPalette::Window, QPalette::WindowText, QPalette::Button, QPalette::Text,
                                           QPalette::ButtonText};

struct Expected
{
    const char *name;
    const QPalette *palette;
    const char *roles; // one letter per kRoles entry: D dark, L light, R red, - default
};

const Expected kTable[] = {
    {"label_dark", &palette_label_dark, "DLD-L"},     {"label_white", &palette_label_white, "LDLDD"},
    {"button_dark", &palette_button_dark, "DLL-D"},   {"label_desktop", &palette_label_desktop, "LDL-D"},
    {"label_back", &palette_label_back, "LLD-L"},     {"label_text", &palette_label_text, "LRLDR"},
    {"button_text", &palette_button_text, "-----"},
};

} // namespace

class TestPalettes : public QObject
{
    Q_OBJECT

private slots:
    void roles_data();
    void roles();
};

void TestPalettes::roles_data()
{
    QTest::addColumn<QList<int>>("config");
    QTest::addColumn<QColor>("dark");
    QTest::addColumn<int>("table");
    QTest::addColumn<int>("role");
    const struct
    {
        const char *name;
        QList<int> config;
        QColor dark;
    } colours[] = {
        {"default", {85, 0, 255}, QColor(85, 0, 255)},
        {"configured", {12, 140, 56}, QColor(12, 140, 56)},
        {"out of range", {-5, 300, 7}, QColor(0, 255, 7)},
    };
    for (const auto &c : colours) {
        for (int t = 0; t < int(std::size(kTable)); ++t) {
            for (int r = 0; r < kRoles.size(); ++r)
                QTest::addRow("%s %s role %d", c.name, kTable[t].name, int(kRoles[r])) << c.config << c.dark << t << r;
        }
    }
}

void TestPalettes::roles()
{
    QFETCH(QList<int>, config);
    QFETCH(QColor, dark);
    QFETCH(int, table);
    QFETCH(int, role);
    const int saved[3] = {ctro_config[0], ctro_config[1], ctro_config[2]};
    for (int i = 0; i < 3; ++i)
        ctro_config[i] = config[i];
    init_system_color();
    for (int i = 0; i < 3; ++i)
        ctro_config[i] = saved[i];

    const QPalette::ColorRole r = kRoles[role];
    QColor expected;
    switch (kTable[table].roles[role]) {
    case 'D': expected = dark; break;
    case 'L': expected = QColor(232, 232, 232); break;
    case 'R': expected = QColor(255, 0, 0); break;
    default: expected = QPalette().color(r); break;
    }
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const QColor got = kTable[table].palette->color(group, r);
        QVERIFY(got.isValid());
        if (kTable[table].roles[role] == '-' && group != QPalette::Active)
            continue;
        QCOMPARE(got, expected);
    }
}

QTEST_MAIN(TestPalettes)
#include "test_palettes.moc"
