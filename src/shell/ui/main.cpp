// The desktop program.
#include "shell/ui/joiner_app.h"
#include "shell/ui/qt_settings_store.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Vantry"));
    QApplication::setApplicationName(QStringLiteral("Keldro"));
    keldro::QtSettingsStore settings;
    keldro::JoinerApp keldro(settings, argc, argv);
    return keldro.Run();
}
