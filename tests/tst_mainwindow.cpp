#include "appicon.h"
#include "mainwindow.h"
#include "scribblearea.h"

#include <QMenuBar>
#include <QPaintEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QtTest>

namespace {

// Records the region of every paint event the canvas receives.
class PaintRecorder : public QObject
{
public:
    QList<QRegion> regions;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            regions << static_cast<QPaintEvent *>(event)->region();
        return QObject::eventFilter(watched, event);
    }
};

QScrollArea *scrollAreaOf(MainWindow &window)
{
    return qobject_cast<QScrollArea *>(window.centralWidget());
}

} // namespace

class tst_MainWindow : public QObject
{
    Q_OBJECT

private slots:
    void opensWithFixedSizeRangeAndTitle();
    void userResizeStaysWithinLimits_data();
    void userResizeStaysWithinLimits();
    void hasEmptyToolBarAndNoStatusBar();
    void canvasSitsInScrollAreaAtZoomedSize();
    void scrollingRepaintsWholeVisibleCanvas_data();
    void scrollingRepaintsWholeVisibleCanvas();
    void programIconIsTheDesktopIconAtEachSize_data();
    void programIconIsTheDesktopIconAtEachSize();
};

void tst_MainWindow::opensWithFixedSizeRangeAndTitle()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QCOMPARE(window.size(), QSize(250, 500));
    QCOMPARE(window.minimumSize(), QSize(250, 500));
    QCOMPARE(window.maximumSize(), QSize(525, 700));
    QCOMPARE(window.windowTitle(), QStringLiteral("Tarrow Boot Screen Editor"));
    QCOMPARE(window.objectName(), QStringLiteral("MainWindow"));
    QCOMPARE(window.sizePolicy().horizontalPolicy(), QSizePolicy::Maximum);
    QCOMPARE(window.sizePolicy().verticalPolicy(), QSizePolicy::Minimum);
}

void tst_MainWindow::userResizeStaysWithinLimits_data()
{
    QTest::addColumn<QSize>("requested");
    QTest::addColumn<QSize>("expected");
    QTest::newRow("too small is held at the minimum") << QSize(100, 100) << QSize(250, 500);
    QTest::newRow("too large is held at the maximum") << QSize(1000, 1000) << QSize(525, 700);
    QTest::newRow("inside the range is taken") << QSize(400, 600) << QSize(400, 600);
    QTest::newRow("each direction is limited alone") << QSize(600, 450) << QSize(525, 500);
}

void tst_MainWindow::userResizeStaysWithinLimits()
{
    QFETCH(QSize, requested);
    QFETCH(QSize, expected);
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.resize(requested);
    QCOMPARE(window.size(), expected);
}

void tst_MainWindow::hasEmptyToolBarAndNoStatusBar()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const QList<QToolBar *> toolBars = window.findChildren<QToolBar *>();
    QCOMPARE(toolBars.size(), 1);
    QToolBar *toolBar = toolBars.first();
    QCOMPARE(toolBar->objectName(), QStringLiteral("mainToolBar"));
    QCOMPARE(window.toolBarArea(toolBar), Qt::TopToolBarArea);
    QVERIFY(toolBar->actions().isEmpty());
    QVERIFY(toolBar->isVisible());
    // Below the menu bar.
    QVERIFY(toolBar->geometry().top() >= window.menuWidget()->geometry().bottom());

    QCOMPARE(window.menuWidget()->objectName(), QStringLiteral("menuBar"));
    QVERIFY(window.findChildren<QStatusBar *>().isEmpty());
}

void tst_MainWindow::canvasSitsInScrollAreaAtZoomedSize()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QScrollArea *scrollArea = scrollAreaOf(window);
    QVERIFY(scrollArea);
    auto *canvas = qobject_cast<ScribbleArea *>(scrollArea->widget());
    QVERIFY(canvas);
    QCOMPARE(canvas->size(), QSize(510, 2022));
    QCOMPARE(canvas->minimumSize(), QSize(510, 2022));
    QCOMPARE(canvas->canvasImage().size(), QSize(510, 2022));
    QVERIFY(!canvas->isZoomed());
    QVERIFY(!scrollArea->widgetResizable());
    QVERIFY(canvas->testAttribute(Qt::WA_OpaquePaintEvent));
    QVERIFY(scrollArea->testAttribute(Qt::WA_OpaquePaintEvent));
    QVERIFY(!canvas->autoFillBackground());
    QVERIFY(!scrollArea->autoFillBackground());

    // The scroll bars range over the whole 510 x 2022 canvas.
    const QSize viewport = scrollArea->viewport()->size();
    QCOMPARE(scrollArea->horizontalScrollBar()->maximum(), 510 - viewport.width());
    QCOMPARE(scrollArea->verticalScrollBar()->maximum(), 2022 - viewport.height());
}

void tst_MainWindow::scrollingRepaintsWholeVisibleCanvas_data()
{
    QTest::addColumn<Qt::Orientation>("orientation");
    QTest::addColumn<int>("step");
    QTest::newRow("horizontal scroll bar") << Qt::Horizontal << 12;
    QTest::newRow("vertical scroll bar") << Qt::Vertical << 12;
}

void tst_MainWindow::scrollingRepaintsWholeVisibleCanvas()
{
    QFETCH(Qt::Orientation, orientation);
    QFETCH(int, step);
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QScrollArea *scrollArea = scrollAreaOf(window);
    QWidget *canvas = scrollArea->widget();

    PaintRecorder recorder;
    canvas->installEventFilter(&recorder);
    QCoreApplication::processEvents();
    recorder.regions.clear();

    QScrollBar *bar = orientation == Qt::Horizontal ? scrollArea->horizontalScrollBar()
                                                    : scrollArea->verticalScrollBar();
    bar->setValue(bar->value() + step);
    QTRY_VERIFY(!recorder.regions.isEmpty());
    QCoreApplication::processEvents();

    // Moving the canvas alone would repaint only the newly exposed strip; the canvas
    // asks for all of itself, so the whole visible part is painted afresh.
    const QRect visible =
        QRect(canvas->mapFrom(scrollArea->viewport(), QPoint(0, 0)), scrollArea->viewport()->size())
            .intersected(canvas->rect());
    QRegion painted;
    for (const QRegion &region : std::as_const(recorder.regions))
        painted += region;
    const QRegion missed = QRegion(visible).subtracted(painted);
    const QRect missedBounds = missed.boundingRect();
    QVERIFY2(missed.isEmpty(), qPrintable(QStringLiteral("not repainted: %1,%2 %3x%4")
                                              .arg(missedBounds.x())
                                              .arg(missedBounds.y())
                                              .arg(missedBounds.width())
                                              .arg(missedBounds.height())));
}

void tst_MainWindow::programIconIsTheDesktopIconAtEachSize_data()
{
    QTest::addColumn<int>("size");
    // 16 and 32 are drawn by hand: one scaled from a larger size would differ.
    for (const int size : {16, 32, 48, 64, 128, 256})
        QTest::newRow(qPrintable(QString::number(size))) << size;
}

void tst_MainWindow::programIconIsTheDesktopIconAtEachSize()
{
    QFETCH(int, size);
    installApplicationIcon();
    const QIcon icon = QApplication::windowIcon();
    QVERIFY(icon.availableSizes().contains(QSize(size, size)));
    const QImage shown = icon.pixmap(QSize(size, size))
                             .toImage()
                             .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage desktop =
        QImage(QStringLiteral(TARROW_DESKTOP_ICONS "/%1x%1/apps/" TARROW_APP_ID ".png").arg(size))
            .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QVERIFY(!desktop.isNull());
    QCOMPARE(shown, desktop);
}

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
