// The screen walk (tests/e2e/test_screenwalk_e2e) run three times: for each order its screens
// and seconds (median of the runs), the layout findings (goal 0) and the whole walk's seconds
// beside the goal of 90 s on two cores. Prints; never fails.
#include <QCoreApplication>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString walk = QStringLiteral(KNIT_BINARY_DIR "/bin/e2e_test_screenwalk_e2e");
    const QRegularExpression orderLine(QStringLiteral("walk (.+): (\\d+) screens in ([0-9.]+) s"));
    const QRegularExpression findingsLine(QStringLiteral("layout findings: (\\d+)"));
    QMap<QString, std::vector<double>> seconds;
    QMap<QString, int> screens;
    std::vector<double> totals;
    int findings = -1;
    for (int run = 0; run < 3; ++run) {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(walk, {});
        if (!p.waitForFinished(300000)) {
            std::printf("screenwalk: %s did not finish\n", qPrintable(walk));
            return 0;
        }
        const QString out = QString::fromUtf8(p.readAll());
        double total = 0;
        for (auto it = orderLine.globalMatch(out); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            seconds[m.captured(1)].push_back(m.captured(3).toDouble());
            screens[m.captured(1)] = m.captured(2).toInt();
            total += m.captured(3).toDouble();
        }
        totals.push_back(total);
        const QRegularExpressionMatch f = findingsLine.match(out);
        findings = f.hasMatch() ? f.captured(1).toInt() : -1;
    }
    for (auto it = seconds.cbegin(); it != seconds.cend(); ++it)
        std::printf("screenwalk %-16s %3d screens  %6.1f s (median of %zu)\n", qPrintable(it.key()), screens.value(it.key()),
                    median(it.value()), it.value().size());
    const double total = median(totals);
    std::printf("screenwalk findings        %d (goal 0)\n", findings);
    std::printf("screenwalk three orders    %6.1f s, %.2f of the 90 s goal\n", total, total / 90.0);
    return 0;
}
