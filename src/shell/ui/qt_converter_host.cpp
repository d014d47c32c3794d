#include "shell/ui/qt_converter_host.h"

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
    const QString name =
        QString::fromUtf8(application.data(), static_cast<qsizetype>(application.size()));
    const QSettings store(configFolder_ + QStringLiteral("/Vantry/") + name +
                              QStringLiteral(".conf"),
                          QSettings::IniFormat);
    const QVariant folder = store.value(QStringLiteral("Convert Setting/Install Path"));
    if (store.status() != QSettings::NoError || !folder.isValid())
        return std::nullopt;
    return folder.toString().toStdString();
}

bool QtConverterHost::StartProgram(const std::string& program,
                                   const std::vector<std::string>& arguments)
{
    QStringList list;
    for (const std::string& argument : arguments)
        list << QString::fromStdString(argument);
    return QProcess::startDetached(QString::fromStdString(program), list);
}

} // namespace keldro
