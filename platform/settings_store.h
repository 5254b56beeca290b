#pragma once

#include <QString>
#include <memory>
#include <optional>

class QSettings;

// The per-user settings store: numbers are kept as 32-bit values, texts as strings,
// in sections under the application's key. Missing or unreadable values read as none.
class SettingsStore {
public:
    // The store of the application "Kartomatrix": the organisation "Kartomatrix" and the
    // application "kartomatrix" of the user's native settings, on Linux the file
    // ~/.config/Kartomatrix/kartomatrix.conf (or under $XDG_CONFIG_HOME).
    SettingsStore();
    // A store kept in the given INI file instead.
    explicit SettingsStore(const QString& iniFilePath);
    ~SettingsStore();

    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // A number stored as text (as INI files keep them) is read when it is a plain decimal
    // number within 32 bits; anything else reads as none.
    std::optional<qint32> readNumber(const QString& section, const QString& name) const;
    std::optional<QString> readText(const QString& section, const QString& name) const;
    void writeNumber(const QString& section, const QString& name, qint32 value);
    void writeText(const QString& section, const QString& name, const QString& value);
    // Takes the value out of the store; reading it then gives none.
    void remove(const QString& section, const QString& name);
    // Writes pending changes out; false when the store could not be written.
    bool sync();
    // Where the store lives.
    QString fileName() const;

private:
    std::unique_ptr<QSettings> settings_;
};
