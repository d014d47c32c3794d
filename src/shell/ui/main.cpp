// The desktop program.
#include "shell/ui/joiner_app.h"
#include "shell/ui/qt_settings_store.h"
#include "string_table.h"
#include "widgets/qt_text.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Vantry"));
    QApplication::setApplicationName(
        keldro::FromBytes(keldro::LoadString(keldro::StringId::ProductName)));
    // Wayland compositors match the window to its desktop entry by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(KELDRO_APP_ID));
    keldro::QtSettingsStore settings;
    keldro::JoinerApp keldro(settings, argc, argv);
    return keldro.Run();
}
