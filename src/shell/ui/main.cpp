// The desktop program. The main window with its three pages is still to come;
// for now the program opens an empty window under its caption.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Vantry"));
    QApplication::setApplicationName(QStringLiteral("Keldro"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Keldro v3.0"));
    window.resize(640, 480);
    window.show();
    return QApplication::exec();
}
