#pragma once

class QMainWindow;
class QMenuBar;
class QToolBar;
class QWidget;

// The main window's designed frame: size limits, a menu bar and an empty tool bar.
// It only holds pointers; the widgets belong to the window it was set up on.
class MainWindowForm
{
public:
    void setupUi(QMainWindow *window);

    QWidget *centralWidget = nullptr;
    QMenuBar *menuBar = nullptr;
    QToolBar *mainToolBar = nullptr;
};
