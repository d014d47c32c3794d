// The program's settings store: QSettings in INI format, organisation "Vantry",
// application "Keldro" (~/.config/Vantry/Keldro.conf), one group per section.
#pragma once

#include "base/settings.h"

#include <memory>

#include <QString>

class QVariant;

class QSettings;

namespace keldro {

class QtSettingsStore final : public SettingsStore
{
public:
    // The user's store.
    QtSettingsStore();
    // A store in the given INI file.
    explicit QtSettingsStore(const QString& iniPath);
    ~QtSettingsStore() override;

    // False when the store could not be read: every value then reads as its
    // default and writes are dropped. A write that fails is dropped alone;
    // the values stored before it still read back.
    bool IsOpen() const { return open_; }

private:
    std::optional<int> ReadInt(std::string_view section, std::string_view value) const override;
    std::optional<std::string> ReadText(std::string_view section,
                                        std::string_view value) const override;
    bool WriteInt(std::string_view section, std::string_view value, int number) override;
    bool WriteText(std::string_view section, std::string_view value,
                   std::string_view text) override;
    bool Store(const QString& key, const QVariant& value);

    QString path_;
    std::unique_ptr<QSettings> settings_;
    bool open_ = false;
};

} // namespace keldro
