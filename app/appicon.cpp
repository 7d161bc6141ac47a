#include "appicon.h"

#include <QApplication>
#include <QIcon>

void installApplicationIcon()
{
#ifndef Q_OS_WIN
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/appicon/appicon.png")));
#endif
}
