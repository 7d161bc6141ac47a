#include "appicon.h"
#include "mainwindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Wayland desktops match the window to its desktop entry (menu icon, name) by this.
    QGuiApplication::setDesktopFileName(QStringLiteral(TARROW_APP_ID));
    installApplicationIcon();
    MainWindow window;
    window.show();
    return app.exec();
}
