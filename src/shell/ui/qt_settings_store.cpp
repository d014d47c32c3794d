#include "shell/ui/qt_settings_store.h"

#include "base/byte_text.h"

#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>

namespace keldro {
namespace {

QString KeyOf(std::string_view section, std::string_view value)
{
    return QString::fromUtf8(section.data(), static_cast<qsizetype>(section.size())) +
           QLatin1Char('/') + QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
}

// INI keeps no kinds: a whole number is text that is exactly a 32-bit integer.
std::optional<int> StrictInt(const QString& text)
{
    static const QRegularExpression digits(QStringLiteral("^-?[0-9]+$"));
    if (!digits.match(text).hasMatch())
        return std::nullopt;
    bool ok = false;
    const int number = text.toInt(&ok);
    return ok ? std::optional<int>(number) : std::nullopt;
}

} // namespace

QtSettingsStore::QtSettingsStore()
    : QtSettingsStore(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                      QStringLiteral("/Vantry/Keldro.conf"))
{}

QtSettingsStore::QtSettingsStore(const QString& iniPath)
    : path_(iniPath), settings_(std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{
    open_ = settings_->status() == QSettings::NoError;
}

QtSettingsStore::~QtSettingsStore() = default;

// Writes at once. A write that fails is dropped: the value goes back to what
// the file holds, so that reads give neither defaults nor what was not stored.
bool QtSettingsStore::Store(const QString& key, const QVariant& value)
{
    if (!open_)
        return false;
    // QSettings keeps its first error for good: after a failure, only a fresh
    // one tells whether this write gets through.
    if (settings_->status() != QSettings::NoError)
        settings_ = std::make_unique<QSettings>(path_, QSettings::IniFormat);
    const QVariant stored = settings_->value(key);
    settings_->setValue(key, value);
    settings_->sync();
    if (settings_->status() == QSettings::NoError)
        return true;
    if (stored.isValid())
        settings_->setValue(key, stored);
    else
        settings_->remove(key);
    return false;
}

std::optional<int> QtSettingsStore::ReadInt(std::string_view section, std::string_view value) const
{
    if (!open_)
        return std::nullopt;
    const QVariant stored = settings_->value(KeyOf(section, value));
    switch (stored.typeId()) {
    case QMetaType::Int:
        return stored.toInt();
    case QMetaType::QString:
        return StrictInt(stored.toString());
    default:
        return std::nullopt; // missing, or not a number
    }
}

std::optional<std::string> QtSettingsStore::ReadText(std::string_view section,
                                                     std::string_view value) const
{
    if (!open_)
        return std::nullopt;
    const QVariant stored = settings_->value(KeyOf(section, value));
    if (stored.typeId() == QMetaType::QByteArray)
        return stored.toByteArray().toStdString();
    if (!stored.isValid() || !stored.canConvert<QString>())
        return std::nullopt;
    return stored.toString().toStdString();
}

bool QtSettingsStore::WriteInt(std::string_view section, std::string_view value, int number)
{
    return Store(KeyOf(section, value), number);
}

bool QtSettingsStore::WriteText(std::string_view section, std::string_view value,
                                std::string_view text)
{
    // Bytes that are not UTF-8 (a folder name from another system) are kept as
    // they are rather than turned into replacement characters.
    const QByteArray bytes(text.data(), static_cast<qsizetype>(text.size()));
    return Store(KeyOf(section, value),
                 IsValidUtf8(text) ? QVariant(QString::fromUtf8(bytes)) : QVariant(bytes));
}

} // namespace keldro
