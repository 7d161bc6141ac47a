#include "mainwindowform.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QMetaObject>
#include <QSizePolicy>
#include <QToolBar>
#include <QWidget>

void MainWindowForm::setupUi(QMainWindow *window)
{
    if (window->objectName().isEmpty())
        window->setObjectName(QStringLiteral("MainWindow"));
    window->resize(250, 500);

    QSizePolicy policy(QSizePolicy::Maximum, QSizePolicy::Minimum);
    policy.setHorizontalStretch(0);
    policy.setVerticalStretch(0);
    policy.setHeightForWidth(window->sizePolicy().hasHeightForWidth());
    window->setSizePolicy(policy);
    window->setMinimumSize(250, 500);
    window->setMaximumSize(525, 700);

    centralWidget = new QWidget(window);
    centralWidget->setObjectName(QStringLiteral("centralWidget"));
    window->setCentralWidget(centralWidget);

    menuBar = new QMenuBar(window);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    menuBar->setGeometry(0, 0, 250, 20);
    window->setMenuBar(menuBar);

    // Stays empty: every command lives in the menus.
    mainToolBar = new QToolBar(window);
    mainToolBar->setObjectName(QStringLiteral("mainToolBar"));
    window->addToolBar(Qt::TopToolBarArea, mainToolBar);

    window->setWindowTitle(QCoreApplication::translate("MainWindow", "MainWindow"));

    QMetaObject::connectSlotsByName(window);
}
