// The desktop program.
#include "shell/ui/joiner_app.h"
#include "shell/ui/qt_settings_store.h"
#include "string_table.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Vantry"));
    const std::string_view product = keldro::LoadString(keldro::StringId::ProductName);
    QApplication::setApplicationName(QString::fromUtf8(product.data(), product.size()));
    keldro::QtSettingsStore settings;
    keldro::JoinerApp keldro(settings, argc, argv);
    return keldro.Run();
}
