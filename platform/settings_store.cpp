#include "platform/settings_store.h"

#include <QRegularExpression>
#include <QSettings>
#include <limits>

namespace {

QString keyOf(const QString& section, const QString& name) {
    return section + QLatin1Char('/') + name;
}

std::optional<qint32> numberFromText(const QString& text) {
    // Only a plain decimal number: hand-edited values such as "0x10" or "5 levels" are
    // unreadable rather than half-read.
    static const QRegularExpression plainNumber(QStringLiteral("^\\s*[+-]?[0-9]+\\s*$"));
    if (!plainNumber.match(text).hasMatch())
        return std::nullopt;
    bool ok = false;
    const qint32 value = text.trimmed().toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return value;
}

}  // namespace

SettingsStore::SettingsStore()
    : settings_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                            QStringLiteral("Kartomatrix"),
                                            QStringLiteral("kartomatrix"))) {}

SettingsStore::SettingsStore(const QString& iniFilePath)
    : settings_(std::make_unique<QSettings>(iniFilePath, QSettings::IniFormat)) {}

SettingsStore::~SettingsStore() = default;

std::optional<qint32> SettingsStore::readNumber(const QString& section, const QString& name) const {
    const QVariant value = settings_->value(keyOf(section, name));
    switch (value.typeId()) {
        case QMetaType::QString:
            return numberFromText(value.toString());
        case QMetaType::Int:
            return value.toInt();
        case QMetaType::UInt:
        case QMetaType::Long:
        case QMetaType::LongLong:
        case QMetaType::ULong:
        case QMetaType::ULongLong: {
            bool ok = false;
            const qlonglong wide = value.toLongLong(&ok);
            if (!ok || wide < std::numeric_limits<qint32>::min() ||
                wide > std::numeric_limits<qint32>::max())
                return std::nullopt;
            return static_cast<qint32>(wide);
        }
        default:
            return std::nullopt;
    }
}

std::optional<QString> SettingsStore::readText(const QString& section, const QString& name) const {
    const QVariant value = settings_->value(keyOf(section, name));
    switch (value.typeId()) {
        case QMetaType::QString:
            return value.toString();
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
            return value.toString();
        default:
            return std::nullopt;
    }
}

void SettingsStore::writeNumber(const QString& section, const QString& name, qint32 value) {
    settings_->setValue(keyOf(section, name), static_cast<int>(value));
}

void SettingsStore::remove(const QString& section, const QString& name) {
    settings_->remove(keyOf(section, name));
}

void SettingsStore::writeText(const QString& section, const QString& name, const QString& value) {
    settings_->setValue(keyOf(section, name), value);
}

bool SettingsStore::sync() {
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}

QString SettingsStore::fileName() const {
    return settings_->fileName();
}
