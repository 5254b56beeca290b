#pragma once

#include <QString>
#include <memory>
#include <optional>

class QSettings;

// The per-user settings store: numbers are kept as 32-bit values, texts as strings,
// in sections under the application's key. Missing or unreadable values read as none.
class SettingsStore {
public:
    // The store of the application "Kartomatrix".
    SettingsStore();
    ~SettingsStore();

    std::optional<qint32> readNumber(const QString& section, const QString& name) const;
    std::optional<QString> readText(const QString& section, const QString& name) const;
    void writeNumber(const QString& section, const QString& name, qint32 value);
    void writeText(const QString& section, const QString& name, const QString& value);
    // Writes pending changes out; false when the store could not be written.
    bool sync();

private:
    std::unique_ptr<QSettings> settings_;
};
