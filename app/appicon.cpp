#include "appicon.h"

#include <QApplication>
#include <QIcon>

void installApplicationIcon()
{
#ifndef Q_OS_WIN
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/appicon/appicon-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
#endif
}
