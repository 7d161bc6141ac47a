#include "mainwindow.h"
#include "menucommands.h"
#include "modaldriver.h"
#include "scribblearea.h"
#include "testfiles.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// How a menu reads top to bottom: "-" is a plain separator, "-Title" a titled one.
QStringList menuLayout(QMenu *menu)
{
    QStringList items;
    for (QAction *action : menu->actions())
        items << (action->isSeparator() ? QLatin1Char('-') + action->text() : action->text());
    return items;
}

int countPixels(const QImage &image, const QRect &area, bool white)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if ((qBlue(image.pixel(x, y)) != 0) == white)
                ++count;
        }
    }
    return count;
}

const QString TogglePen = QStringLiteral("Toggle Pen");
const QString Zoom = QStringLiteral("&Zoom X 3");
const QString NormalSize = QStringLiteral("&Normal Size");

} // namespace

class tst_Menus : public QObject
{
    Q_OBJECT

private slots:
    void menuBarHoldsFileOptionsHelp();
    void menusListTheirItemsInOrder_data();
    void menusListTheirItemsInOrder();
    void onlyOpenAndExitHaveStandardShortcuts();
    void checkStatesFollowCommands_data();
    void checkStatesFollowCommands();
    void commandsChangeTheCanvas_data();
    void commandsChangeTheCanvas();
    void exportWhileZoomedShowsNormalSize();
    void standardKeysReachOpenAndExit_data();
    void standardKeysReachOpenAndExit();
};

void tst_Menus::menuBarHoldsFileOptionsHelp()
{
    MainWindow window;
    QStringList titles;
    for (QAction *entry : window.menuBar()->actions()) {
        QVERIFY(entry->menu());
        titles << entry->text();
    }
    QCOMPARE(titles, (QStringList{"&File", "&Options", "&Help"}));
}

void tst_Menus::menusListTheirItemsInOrder_data()
{
    QTest::addColumn<int>("menuIndex");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("File: two plain separators") << 0
                                                << QStringList{"&Open a .BMP image",
                                                               "&Save image in .BMP format",
                                                               "-",
                                                               "&Export Boot Screen File",
                                                               "&Import Boot Screen File",
                                                               "-",
                                                               "E&xit"};
    QTest::newRow("Options: two titled separators, then a plain one")
        << 1
        << QStringList{"-Drawing Mode",
                       TogglePen,
                       "-Full Screen Operations",
                       "&Invert All Pixels",
                       "&All Pixels On",
                       "&All Pixels Off",
                       "-",
                       Zoom,
                       NormalSize};
    QTest::newRow("Help: one plain separator")
        << 2 << QStringList{"&How To Use This Program", "-", "&About"};
}

void tst_Menus::menusListTheirItemsInOrder()
{
    QFETCH(int, menuIndex);
    QFETCH(QStringList, items);
    MainWindow window;
    QCOMPARE(menuLayout(window.menuBar()->actions().at(menuIndex)->menu()), items);
}

void tst_Menus::onlyOpenAndExitHaveStandardShortcuts()
{
    MainWindow window;
    const QList<QKeySequence> open = QKeySequence::keyBindings(QKeySequence::Open);
    const QList<QKeySequence> quit = QKeySequence::keyBindings(QKeySequence::Quit);
    QVERIFY(!open.isEmpty());
    for (QAction *entry : window.menuBar()->actions()) {
        for (QAction *action : entry->menu()->actions()) {
            if (action->isSeparator())
                continue;
            QList<QKeySequence> expected;
            if (action->text() == QLatin1String("&Open a .BMP image"))
                expected = open;
            else if (action->text() == QLatin1String("E&xit"))
                expected = quit;
            QCOMPARE(action->shortcuts(), expected);
        }
    }
    QCOMPARE(menuCommand(window, TogglePen)->statusTip(),
             QStringLiteral("Clicking a pixel will turn it on"));
}

void tst_Menus::checkStatesFollowCommands_data()
{
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<bool>("penChecked");
    QTest::addColumn<bool>("zoomChecked");
    QTest::addColumn<bool>("normalChecked");
    QTest::addColumn<QSize>("minimumSize");

    const QSize zoomed(510, 2022);
    const QSize normal(170, 674);
    QTest::newRow("start-up: normal size checked, zoomed minimum")
        << QStringList{} << false << false << true << zoomed;
    QTest::newRow("zoom") << QStringList{Zoom} << false << true << false << zoomed;
    QTest::newRow("zoom then normal")
        << QStringList{Zoom, NormalSize} << false << false << true << normal;
    QTest::newRow("normal while already checked stays checked")
        << QStringList{NormalSize} << false << false << true << normal;
    QTest::newRow("zoom twice stays zoomed")
        << QStringList{Zoom, Zoom} << false << true << false << zoomed;
    QTest::newRow("pen once") << QStringList{TogglePen} << true << false << true << zoomed;
    QTest::newRow("pen twice") << QStringList{TogglePen, TogglePen} << false << false << true
                               << zoomed;
    QTest::newRow("zoom commands leave the pen alone")
        << QStringList{TogglePen, Zoom, NormalSize} << true << false << true << normal;
}

void tst_Menus::checkStatesFollowCommands()
{
    QFETCH(QStringList, commands);
    QFETCH(bool, penChecked);
    QFETCH(bool, zoomChecked);
    QFETCH(bool, normalChecked);
    QFETCH(QSize, minimumSize);

    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (const QString &command : commands)
        QVERIFY2(chooseMenuCommand(window, command), qPrintable(command));

    QAction *pen = menuCommand(window, TogglePen);
    QAction *zoom = menuCommand(window, Zoom);
    QAction *normal = menuCommand(window, NormalSize);
    QVERIFY(pen->isCheckable() && zoom->isCheckable() && normal->isCheckable());
    QCOMPARE(pen->isChecked(), penChecked);
    QCOMPARE(zoom->isChecked(), zoomChecked);
    QCOMPARE(normal->isChecked(), normalChecked);
    ScribbleArea *canvas = canvasOf(window);
    QCOMPARE(canvas->isZoomed(), zoomChecked);
    QCOMPARE(canvas->minimumSize(), minimumSize);
    QCOMPARE(canvas->size(), QSize(510, 2022));
}

void tst_Menus::commandsChangeTheCanvas_data()
{
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<QPoint>("click");
    QTest::addColumn<bool>("clickedCellWhite");
    QTest::addColumn<bool>("restWhite");

    const QPoint none(-100, -100);
    QTest::newRow("invert turns the black start-up canvas white")
        << QStringList{"&Invert All Pixels"} << none << true << true;
    QTest::newRow("all on turns everything white")
        << QStringList{"&All Pixels On"} << none << true << true;
    QTest::newRow("all off after all on turns everything black")
        << QStringList{"&All Pixels On", "&All Pixels Off"} << none << false << false;
    QTest::newRow("a click with the start-up pen paints white")
        << QStringList{} << QPoint(7, 12) << true << false;
    QTest::newRow("pen toggled then a click paints black")
        << QStringList{"&All Pixels On", TogglePen} << QPoint(7, 12) << false << true;
    QTest::newRow("pen toggled twice paints white again")
        << QStringList{TogglePen, TogglePen} << QPoint(7, 12) << true << false;
    QTest::newRow("zoomed, a click at (29, 44) fills column 1 row 2")
        << QStringList{Zoom} << QPoint(29, 44) << true << false;
    QTest::newRow("zoom then normal: (29, 44) is column 5 row 8 again")
        << QStringList{Zoom, NormalSize} << QPoint(29, 44) << true << false;
}

void tst_Menus::commandsChangeTheCanvas()
{
    QFETCH(QStringList, commands);
    QFETCH(QPoint, click);
    QFETCH(bool, clickedCellWhite);
    QFETCH(bool, restWhite);

    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ScribbleArea *canvas = canvasOf(window);
    for (const QString &command : commands)
        QVERIFY2(chooseMenuCommand(window, command), qPrintable(command));
    const bool clicked = click.x() >= 0;
    if (clicked)
        QTest::mouseClick(canvas, Qt::LeftButton, {}, click);

    const QImage image = canvas->canvasImage();
    QCOMPARE(image.size(), QSize(510, 2022));
    // At scale 1 the click's cell has its corner at the multiple of 5 below the point;
    // zoomed, at the multiple of 15, divided by 3.
    const int scale = canvas->isZoomed() ? 3 : 1;
    const QPoint corner =
        clicked ? QPoint(click.x() / (5 * scale) * 5, click.y() / (5 * scale) * 5) : QPoint(0, 0);
    const QRect interior(corner + QPoint(1, 1), QSize(4, 4));
    if (clicked)
        QCOMPARE(countPixels(image, interior, clickedCellWhite), 16);
    const int rest = countPixels(image, image.rect(), restWhite) -
                     (clicked ? countPixels(image, interior, restWhite) : 0);
    QCOMPARE(rest, image.width() * image.height() - (clicked ? 16 : 0));
    QVERIFY(canvas->isModified());
}

void tst_Menus::exportWhileZoomedShowsNormalSize()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir::setCurrent(dir.path()));
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ScribbleArea *canvas = canvasOf(window);
    QVERIFY(chooseMenuCommand(window, Zoom));
    QVERIFY(canvas->isZoomed());

    ModalDriver driver;
    driver.acceptFileDialog(dir.filePath(QStringLiteral("screen.tbs")));
    QVERIFY(chooseMenuCommand(window, QStringLiteral("&Export Boot Screen File")));
    QVERIFY2(driver.allAnswered(), qPrintable(driver.problems()));
    QCOMPARE(readFileBytes(dir.filePath(QStringLiteral("screen.tbs"))).count('\n'), 512);

    QVERIFY(!canvas->isZoomed());
    QVERIFY(!menuCommand(window, Zoom)->isChecked());
    QVERIFY(menuCommand(window, NormalSize)->isChecked());
    QCOMPARE(canvas->minimumSize(), QSize(170, 674));
    QCOMPARE(canvas->size(), QSize(510, 2022));

    // A click now lands at scale 1.
    QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(7, 12));
    QVERIFY(cellIsWhite(canvas->canvasImage(), 1, 2));
}

void tst_Menus::standardKeysReachOpenAndExit_data()
{
    QTest::addColumn<QKeySequence::StandardKey>("key");
    QTest::newRow("Open shows the open dialog") << QKeySequence::Open;
    QTest::newRow("Quit closes the clean window") << QKeySequence::Quit;
}

void tst_Menus::standardKeysReachOpenAndExit()
{
    QFETCH(QKeySequence::StandardKey, key);
    const QList<QKeySequence> bindings = QKeySequence::keyBindings(key);
    if (bindings.isEmpty())
        QSKIP("this platform binds no key to this command");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir::setCurrent(dir.path()));
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    ModalDriver driver;
    if (key == QKeySequence::Open)
        driver.cancelFileDialog();
    QTest::keySequence(&window, bindings.first());
    if (key == QKeySequence::Open) {
        QVERIFY2(driver.allAnswered(), qPrintable(driver.problems()));
        QCOMPARE(driver.titles, QStringList{QStringLiteral("Open File")});
        QVERIFY(window.isVisible());
    } else {
        QTRY_VERIFY(!window.isVisible());
    }
}

QTEST_MAIN(tst_Menus)
#include "tst_menus.moc"
