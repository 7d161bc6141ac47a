#include "mainwindow.h"

#include "canvasgeometry.h"
#include "mainwindowform.h"
#include "scribblearea.h"

#include <QScrollArea>
#include <QScrollBar>

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent)
{
    form = new MainWindowForm;
    form->setupUi(this);

    // The canvas is sized for scale 3 from the start and keeps that size; the scroll
    // bars cover it at either scale.
    canvas = new ScribbleArea;
    canvas->setMinimumSize(canvasgeometry::CanvasSize);
    canvas->setAttribute(Qt::WA_OpaquePaintEvent);

    scrollArea = new QScrollArea;
    scrollArea->setWidget(canvas);
    scrollArea->setAttribute(Qt::WA_OpaquePaintEvent);

    canvas->setAutoFillBackground(false);
    scrollArea->setAutoFillBackground(false);

    // Every scroll position change repaints the whole canvas.
    connect(scrollArea->horizontalScrollBar(), &QScrollBar::valueChanged, canvas,
            &ScribbleArea::scrollBarMoved);
    connect(scrollArea->verticalScrollBar(), &QScrollBar::valueChanged, canvas,
            &ScribbleArea::scrollBarMoved);

    setCentralWidget(scrollArea);
    form->centralWidget = nullptr; // replaced by the scroll area, Qt deletes the old one

    buildActions();
    buildMenus();

    setWindowTitle(tr("Tarrow Boot Screen Editor"));
}

MainWindow::~MainWindow()
{
    delete form;
}
