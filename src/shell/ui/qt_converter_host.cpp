#include "shell/ui/qt_converter_host.h"

#include "widgets/qt_text.h"

#include <QProcess>
#include <QSettings>
#include <QStandardPaths>

namespace keldro {

QtConverterHost::QtConverterHost()
    : QtConverterHost(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
{}

QtConverterHost::QtConverterHost(QString configFolder) : configFolder_(std::move(configFolder)) {}

std::optional<std::string> QtConverterHost::InstallPath(std::string_view application)
{
    const QSettings store(configFolder_ + QStringLiteral("/Vantry/") + FromBytes(application) +
                              QStringLiteral(".conf"),
                          QSettings::IniFormat);
    const QVariant folder = store.value(QStringLiteral("Convert Setting/Install Path"));
    if (store.status() != QSettings::NoError || !folder.isValid())
        return std::nullopt;
    return ToBytes(folder.toString());
}

bool QtConverterHost::StartProgram(const std::string& program,
                                   const std::vector<std::string>& arguments)
{
    QStringList list;
    for (const std::string& argument : arguments)
        list << FromBytes(argument);
    return QProcess::startDetached(FromBytes(program), list);
}

} // namespace keldro
