#pragma once

#include "brokerurl.h"

#include "platform/strictini.h"

#include <QByteArray>
#include <QString>

// The panel's telemetry settings, section [mqtt] of telemetry.ini under the data root: url,
// machine, username, password, cafile, interval_ms. No file or a bad one means no telemetry.
class TelemetryConfig
{
public:
    static constexpr int kMaxFileBytes = 16 * 1024;
    static constexpr int kMaxMachineLength = 32;
    static constexpr int kMaxLoginLength = 256;
    static constexpr int kDefaultIntervalMs = 1000;
    static constexpr int kMinIntervalMs = 100;
    static constexpr int kMaxIntervalMs = 3600 * 1000;

    BrokerUrl url;
    QString machine;
    QByteArray username;
    QByteArray password;
    QString cafile; // resolved under the panel root; empty: the system's certificates
    int intervalMs = kDefaultIntervalMs;

    static QString path();
    // Reads path(): false with the reason (never the password) when absent or bad.
    static bool load(TelemetryConfig *config, QString *why);
    static bool parse(const QByteArray &text, TelemetryConfig *config, QString *why);
    // Letters, digits, '-' and '_', 1 to 32 of them: safe as a topic level and a client id.
    static bool isMachineId(const QString &id);

private:
    static bool take(const StrictIni::Section &mqtt, TelemetryConfig *config, QString *why);
    bool set(const QString &key, const QString &value, QString *why);
};
