#include "mainwindow.h"

#include "aboutbox.h"
#include "canvasgeometry.h"
#include "howtouse.h"
#include "scribblearea.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>

void MainWindow::buildActions()
{
    openAction = new QAction(tr("&Open a .BMP image"), this);
    openAction->setShortcuts(QKeySequence::Open);
    connect(openAction, &QAction::triggered, this, &MainWindow::open);

    saveImageAction = new QAction(tr("&Save image in .BMP format"), this);
    connect(saveImageAction, &QAction::triggered, this, &MainWindow::saveImage);

    exportAction = new QAction(tr("&Export Boot Screen File"), this);
    connect(exportAction, &QAction::triggered, this, &MainWindow::exportHex);

    importAction = new QAction(tr("&Import Boot Screen File"), this);
    connect(importAction, &QAction::triggered, this, &MainWindow::importHex);

    // close() goes through closeEvent, so Exit asks about unsaved changes like the
    // window's own close control does.
    exitAction = new QAction(tr("E&xit"), this);
    exitAction->setShortcuts(QKeySequence::Quit);
    connect(exitAction, &QAction::triggered, this, &MainWindow::close);

    togglePenAction = new QAction(tr("Toggle Pen"), this);
    togglePenAction->setStatusTip(tr("Clicking a pixel will turn it on"));
    togglePenAction->setCheckable(true);
    togglePenAction->setChecked(false);
    connect(togglePenAction, &QAction::triggered, this, &MainWindow::turnPixelOn);

    // The whole-canvas operations need nothing from the window.
    invertAction = new QAction(tr("&Invert All Pixels"), this);
    connect(invertAction, &QAction::triggered, canvas, &ScribbleArea::invertImage);

    allOnAction = new QAction(tr("&All Pixels On"), this);
    connect(allOnAction, &QAction::triggered, canvas, &ScribbleArea::clearImage);

    allOffAction = new QAction(tr("&All Pixels Off"), this);
    connect(allOffAction, &QAction::triggered, canvas, &ScribbleArea::fillImage);

    zoomAction = new QAction(tr("&Zoom X 3"), this);
    zoomAction->setCheckable(true);
    zoomAction->setChecked(false);
    connect(zoomAction, &QAction::triggered, this, &MainWindow::zoomIn);

    normalSizeAction = new QAction(tr("&Normal Size"), this);
    normalSizeAction->setCheckable(true);
    normalSizeAction->setChecked(true);
    connect(normalSizeAction, &QAction::triggered, this, &MainWindow::normalSize);

    aboutAction = new QAction(tr("&About"), this);
    connect(aboutAction, &QAction::triggered, this, &MainWindow::about);

    howToAction = new QAction(tr("&How To Use This Program"), this);
    connect(howToAction, &QAction::triggered, this, &MainWindow::howTo);
}

void MainWindow::buildMenus()
{
    fileMenu = new QMenu(tr("&File"), this);
    fileMenu->addAction(openAction);
    fileMenu->addAction(saveImageAction);
    fileMenu->addSeparator();
    fileMenu->addAction(exportAction);
    fileMenu->addAction(importAction);
    fileMenu->addSeparator();
    fileMenu->addAction(exitAction);

    optionsMenu = new QMenu(tr("&Options"), this);
    optionsMenu->addSeparator()->setText(tr("Drawing Mode"));
    optionsMenu->addAction(togglePenAction);
    optionsMenu->addSeparator()->setText(tr("Full Screen Operations"));
    optionsMenu->addAction(invertAction);
    optionsMenu->addAction(allOnAction);
    optionsMenu->addAction(allOffAction);
    optionsMenu->addSeparator();
    optionsMenu->addAction(zoomAction);
    optionsMenu->addAction(normalSizeAction);

    helpMenu = new QMenu(tr("&Help"), this);
    helpMenu->addAction(howToAction);
    helpMenu->addSeparator();
    helpMenu->addAction(aboutAction);

    menuBar()->addMenu(fileMenu);
    menuBar()->addMenu(optionsMenu);
    menuBar()->addMenu(helpMenu);
}

void MainWindow::turnPixelOn()
{
    // The action has already flipped: checked means clicks turn cells off.
    canvas->setPenOn(!togglePenAction->isChecked());
}

void MainWindow::zoomIn()
{
    // Choosing the checked command unchecks it first; checking again keeps exactly one
    // zoom command checked.
    normalSizeAction->setChecked(false);
    zoomAction->setChecked(true);
    canvas->setMinimumSize(canvasgeometry::CanvasSize);
    canvas->zoomIn();
}

void MainWindow::normalSize()
{
    showNormalSizeChecked();
    canvas->normalSize();
}

void MainWindow::showNormalSizeChecked()
{
    zoomAction->setChecked(false);
    normalSizeAction->setChecked(true);
    canvas->setMinimumSize(canvasgeometry::NormalMinimumSize);
}

void MainWindow::about()
{
    QMessageBox::about(this, QStringLiteral("About"), aboutBoxText());
}

void MainWindow::howTo()
{
    // Modeless and deleted with the window; each choice opens another one.
    auto *window = new howToUse(this);
    window->show();
}
