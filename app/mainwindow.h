#pragma once

#include <QMainWindow>

class QAction;
class QCloseEvent;
class QMenu;
class QScrollArea;
class ScribbleArea;
class MainWindowForm;

// The editor's one window: a scroll area around the canvas, three menus, and
// the file commands with their dialogs. It never touches pixels itself.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private slots:
    void open();
    void saveImage();
    void exportHex();
    void importHex();
    void turnPixelOn();
    void about();
    void zoomIn();
    void normalSize();
    void howTo();

private:
    void buildActions();
    void buildMenus();
    bool askToSaveChanges();
    bool saveImageAs(const QByteArray &fileFormat);
    bool exportBootScreenAs(const QByteArray &fileFormat);
    QString askForSaveFileName(const QString &caption, const QByteArray &fileFormat);
    QString askForOpenFileName(const QString &filter);
    void warnFailure(const QString &action, const QString &fileName);
    void showNormalSizeChecked();

    MainWindowForm *form = nullptr;
    ScribbleArea *canvas = nullptr;
    QScrollArea *scrollArea = nullptr;

    QMenu *fileMenu = nullptr;
    QMenu *optionsMenu = nullptr;
    QMenu *helpMenu = nullptr;

    QAction *openAction = nullptr;
    QAction *saveImageAction = nullptr;
    QAction *exportAction = nullptr;
    QAction *importAction = nullptr;
    QAction *exitAction = nullptr;
    QAction *togglePenAction = nullptr;
    QAction *invertAction = nullptr;
    QAction *allOnAction = nullptr;
    QAction *allOffAction = nullptr;
    QAction *zoomAction = nullptr;
    QAction *normalSizeAction = nullptr;
    QAction *aboutAction = nullptr;
    QAction *howToAction = nullptr;
};
