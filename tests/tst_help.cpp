#include "aboutbox.h"
#include "helpdocument.h"
#include "howtouse.h"
#include "mainwindow.h"
#include "modaldriver.h"

#include <QAbstractButton>
#include <QDateTime>
#include <QGridLayout>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFragment>
#include <QtTest>

#include <memory>

namespace {

const QSize helpWindowSize(600, 432);

QTextEdit *helpText(const QWidget &window)
{
    return window.findChild<QTextEdit *>(QStringLiteral("textEdit"));
}

// Finds an action of the main window's menu bar by menu title and item text.
QAction *menuAction(MainWindow &window, const QString &menuTitle, const QString &itemText)
{
    for (QAction *menuEntry : window.menuBar()->actions()) {
        if (menuEntry->text() != menuTitle || !menuEntry->menu())
            continue;
        for (QAction *item : menuEntry->menu()->actions()) {
            if (item->text() == itemText)
                return item;
        }
    }
    return nullptr;
}

QList<howToUse *> helpWindowsOf(const QWidget &parent)
{
    return parent.findChildren<howToUse *>(QString(), Qt::FindDirectChildrenOnly);
}

void addParagraph(int number, const char *what, const QString &text, int points, bool bold = false,
                  bool underlined = false)
{
    QTest::addRow("%d: %s", number, what)
        << number - 1 << text << qreal(points) << bold << underlined;
}

} // namespace

class TestHelp : public QObject
{
    Q_OBJECT

private slots:
    void helpWindowHasFixedSize();
    void helpWindowIconIsTheLogo();
    void helpTextIsReadOnlyButSelectable();
    void helpDocumentHasAllParagraphs();
    void helpDocumentParagraph_data();
    void helpDocumentParagraph();
    void aboutTextStartsWithBuildStamp();
    void helpMenuOpensANewWindowEachTime();
    void aboutActionShowsTheAboutBox();
};

void TestHelp::helpWindowHasFixedSize()
{
    QWidget parent;
    auto *window = new howToUse(&parent);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));

    QCOMPARE(window->objectName(), QStringLiteral("howToUse"));
    QCOMPARE(window->windowTitle(), QStringLiteral("How To..."));
    QCOMPARE(window->size(), helpWindowSize);
    QCOMPARE(window->minimumSize(), helpWindowSize);
    QCOMPARE(window->maximumSize(), helpWindowSize);
    QCOMPARE(window->sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
    QCOMPARE(window->sizePolicy().verticalPolicy(), QSizePolicy::Fixed);
    QVERIFY(!window->isModal());

    window->resize(900, 700);
    QCOMPARE(window->size(), helpWindowSize);
    window->resize(100, 100);
    QCOMPARE(window->size(), helpWindowSize);

    // The text view fills the dialog inside the layout's margins.
    auto *layout = window->findChild<QGridLayout *>(QStringLiteral("gridLayout"));
    QVERIFY(layout);
    QCOMPARE(window->layout(), layout);
    QTextEdit *text = helpText(*window);
    QVERIFY(text);
    QCOMPARE(text->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
    QCOMPARE(text->sizePolicy().verticalPolicy(), QSizePolicy::Expanding);
    QCOMPARE(text->geometry(), window->rect().marginsRemoved(layout->contentsMargins()));
}

void TestHelp::helpWindowIconIsTheLogo()
{
    const QImage logo(QStringLiteral(":/myResource/Ostralogo.PNG"));
    QCOMPARE(logo.size(), QSize(25, 15));

    howToUse window;
    const QIcon icon = window.windowIcon();
    QVERIFY(!icon.isNull());
    QVERIFY2(icon.availableSizes().contains(QSize(25, 15)),
             "the icon holds the 25 x 15 logo at its own size");
    const QImage shown = icon.pixmap(QSize(25, 15)).toImage().convertToFormat(QImage::Format_RGB32);
    const QImage expected = logo.convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.size(), expected.size());
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x)
            QVERIFY2(shown.pixel(x, y) == expected.pixel(x, y),
                     qPrintable(QStringLiteral("icon pixel (%1, %2) differs").arg(x).arg(y)));
    }
}

void TestHelp::helpTextIsReadOnlyButSelectable()
{
    howToUse window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTextEdit *text = helpText(window);
    QVERIFY(text);
    QVERIFY(text->isReadOnly());
    QVERIFY(text->textInteractionFlags().testFlag(Qt::TextSelectableByMouse));
    QVERIFY(!text->textInteractionFlags().testFlag(Qt::TextEditable));

    const QString before = text->toPlainText();
    text->setFocus();
    QTest::keyClicks(text->viewport(), QStringLiteral("typed"));
    QTest::keyClick(text->viewport(), Qt::Key_Delete);
    QTest::keyClick(text->viewport(), Qt::Key_Backspace);
    QCOMPARE(text->toPlainText(), before);

    // Double-clicking the first word of the title selects it.
    const QRect firstWord = text->cursorRect(text->document()->find(QStringLiteral("How")));
    QTest::mouseDClick(text->viewport(), Qt::LeftButton, Qt::NoModifier, firstWord.center());
    QCOMPARE(text->textCursor().selectedText(), QStringLiteral("How"));
}

void TestHelp::helpDocumentHasAllParagraphs()
{
    howToUse window;
    const QTextDocument *document = helpText(window)->document();
    QCOMPARE(document->blockCount(), 38);

    // The source text itself: as the rich-text editor saves it, with "->" escaped.
    const QString html = QString::fromUtf8(helpDocumentHtml());
    QVERIFY(html.startsWith(QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\"")));
    QVERIFY(html.contains(QStringLiteral("<meta name=\"qrichtext\" content=\"1\" />")));
    QVERIFY(html.contains(QStringLiteral("p, li { white-space: pre-wrap; }")));
    QVERIFY(
        html.contains(QStringLiteral("<body style=\" font-family:'MS Shell Dlg 2'; "
                                     "font-size:8.25pt; font-weight:400; font-style:normal;\">")));
    QCOMPARE(html.count(QStringLiteral("<p style=")), 38);
    QCOMPARE(html.count(QStringLiteral("-qt-paragraph-type:empty;")), 9);
    QCOMPARE(html.count(QStringLiteral("-&gt;")), 8);
    QVERIFY(!html.contains(QStringLiteral("->")));
    QVERIFY(html.endsWith(QStringLiteral("</p></body></html>")));
}

void TestHelp::helpDocumentParagraph_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<qreal>("points");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("underlined");

    addParagraph(1, "title", QStringLiteral("How To Use the Tarrow Boot Screen Editor"), 18, true,
                 true);
    addParagraph(2, "empty line, 8pt", QString(), 8);
    addParagraph(3, "heading",
                 QStringLiteral("Steps to Loading Custom Boot Screen onto Tarrow Marker:"), 12,
                 false, true);
    addParagraph(4, "text", QStringLiteral("1) Draw your boot screen image"), 12, false, false);
    addParagraph(
        5, "text",
        QStringLiteral("2) Export Tarrow Boot Screen File (File->Export Boot Screen File)"), 12,
        false, false);
    addParagraph(6, "text",
                 QStringLiteral("3) Use Tarrow USB Tool to load boot screen onto marker"), 12,
                 false, false);
    addParagraph(7, "empty line, 12pt", QString(), 12);
    addParagraph(8, "separator of 72 hyphens", QString(72, QLatin1Char('-')), 12);
    addParagraph(
        9, "text",
        QStringLiteral("SUMMARY - The Tarrow Boot Screen Editor allows you to make your own "
                       "custom graphics that can be loaded onto you Tarrow Paintball marker "
                       "using the Tarrow USB Tool.  These graphics can be displayed when you "
                       "turn the Tarrow to make your Tarrow unique to you."),
        12, false, false);
    addParagraph(
        10, "text",
        QStringLiteral("The Tarrow Screen is 128 pixels high by 32 pixels wide.  The Boot "
                       "screen editor gives you access to each individual pixel.  A white "
                       "pixel signals the pixel will be illuminated.  A black pixel signals "
                       "the pixel will not be illuminated.  "),
        12, false, false);
    addParagraph(11, "empty line, 12pt", QString(), 12);
    addParagraph(12, "separator of 72 hyphens", QString(72, QLatin1Char('-')), 12);
    addParagraph(13, "heading", QStringLiteral("HOW TO TURN PIXELS ON or OFF"), 12, false, true);
    addParagraph(
        14, "text",
        QStringLiteral("Clicking on a pixel will set the pixel on or off depending on current "
                       "pen.  On the menu bar Select Options->Toggle Pen to set the pen to "
                       "turn pixels either on or off.  When Toggle Pen is checked the pixel "
                       "will be turned off.  When Toggle Pen is not checked the pixel will be "
                       "turned on."),
        12, false, false);
    addParagraph(15, "empty line, 12pt", QString(), 12);
    addParagraph(16, "separator of 72 hyphens", QString(72, QLatin1Char('-')), 12);
    addParagraph(17, "heading", QStringLiteral("TURN ALL PIXELS ON or OFF"), 12, false, true);
    addParagraph(
        18, "text",
        QStringLiteral("You can quickly turn all pixels on (white) by going to the menu bar "
                       "and selecting Options->All Pixels On, or turn them all off (black) by "
                       "selectiong Options-> All Pixels Off."),
        12, false, false);
    addParagraph(19, "empty line, 12pt", QString(), 12);
    addParagraph(20, "separator of 72 hyphens", QString(72, QLatin1Char('-')), 12);
    addParagraph(21, "heading", QStringLiteral("INVERTING ALL PIXELS"), 12, false, true);
    addParagraph(
        22, "text",
        QStringLiteral("Inverting the pixels will turn the pixels that are on to off and the "
                       "pixels that are off to on.  You can do this by going to the menu bar "
                       "and selecting Options->Invert All Pixels"),
        12, false, false);
    addParagraph(23, "empty line, 12pt", QString(), 12);
    addParagraph(24, "separator of 72 hyphens", QString(72, QLatin1Char('-')), 12);
    addParagraph(25, "heading", QStringLiteral("ZOOM IN and OUT"), 12, false, true);
    addParagraph(
        26, "text",
        QStringLiteral("You can zoom into the screen by going to the menu bar and selecting "
                       "Options->Zoom X 3.  This will enlarge the screen to 3 times the "
                       "normal size.  To go back to normal size in the same menu select "
                       "Normal Size"),
        12, false, false);
    addParagraph(27, "empty line, 12pt", QString(), 12);
    addParagraph(28, "separator of 73 hyphens", QString(73, QLatin1Char('-')), 12);
    addParagraph(29, "heading", QStringLiteral("SAVING/LOADING THE IMAGE as .BMP"), 12, false,
                 true);
    addParagraph(
        30, "text",
        QStringLiteral("The image you have drawn can be saved in .bmp format which can be "
                       "viewed in any program able that supports .bmp format file.  You may "
                       "also oepn the .bmp you saved into the Tarrow Boot Screen Editor. "
                       "Warning - opening a .bmp file that was not created by the Tarrow Boot "
                       "Screen Editor may cause undesired results and may not render "
                       "correctly in the editor."),
        12, false, false);
    addParagraph(31, "empty line, 12pt", QString(), 12);
    addParagraph(32, "separator of 74 hyphens", QString(74, QLatin1Char('-')), 12);
    addParagraph(33, "heading", QStringLiteral("EXPORTING TARROW BOOT SCREEN FILE"), 12, false,
                 true);
    addParagraph(34, "text",
                 QStringLiteral("When you are done with your boot screen image you must export the "
                                "Tarrow Boot Screen File by going to the menu bar and selecting "
                                "File->Export Boot Screen File.  The file will be in .tbs format.  "
                                "This file can then be loaded onto your Tarrow marker."),
                 12, false, false);
    addParagraph(35, "empty line, 12pt", QString(), 12);
    addParagraph(36, "separator of 75 hyphens", QString(75, QLatin1Char('-')), 12);
    addParagraph(37, "heading", QStringLiteral("IMPORT TARROW BOOT SCREEN FILE"), 12, false, true);
    addParagraph(
        38, "text",
        QStringLiteral("You can import .tbs files into the Tarrow Boot Screen Editor by going "
                       "to the menu bar and selecting File->Import Boot Screen File."),
        12, false, false);
}

void TestHelp::helpDocumentParagraph()
{
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(qreal, points);
    QFETCH(bool, bold);
    QFETCH(bool, underlined);

    howToUse window;
    const QTextBlock block = helpText(window)->document()->findBlockByNumber(index);
    QVERIFY(block.isValid());
    QCOMPARE(block.text(), text);

    const QTextBlockFormat paragraph = block.blockFormat();
    QCOMPARE(paragraph.topMargin(), 0.0);
    QCOMPARE(paragraph.bottomMargin(), 0.0);
    QCOMPARE(paragraph.leftMargin(), 0.0);
    QCOMPARE(paragraph.rightMargin(), 0.0);
    QCOMPARE(paragraph.indent(), 0);
    QCOMPARE(paragraph.textIndent(), 0.0);

    if (text.isEmpty()) {
        // An empty line takes its height from the size set on the paragraph.
        QCOMPARE(block.charFormat().fontPointSize(), points);
        return;
    }
    int fragments = 0;
    for (auto it = block.begin(); !it.atEnd(); ++it, ++fragments) {
        const QTextCharFormat format = it.fragment().charFormat();
        QCOMPARE(format.fontPointSize(), points);
        QCOMPARE(format.fontWeight(), bold ? 600 : 400);
        QCOMPARE(format.font().bold(), bold);
        QCOMPARE(format.fontUnderline(), underlined);
        QCOMPARE(format.fontItalic(), false);
    }
    QCOMPARE(fragments, 1);
}

void TestHelp::aboutTextStartsWithBuildStamp()
{
    const QString text = aboutBoxText();
    QVERIFY2(!Qt::mightBeRichText(text), qPrintable(text));
    QVERIFY(text.endsWith(QLatin1Char('\n')));

    const QStringList lines = text.split(QLatin1Char('\n'));
    // Name and stamp, empty, ownership, empty, support, and the final line break.
    QCOMPARE(lines.size(), 6);
    QVERIFY(lines.at(1).isEmpty());
    QVERIFY(!lines.at(2).trimmed().isEmpty());
    QVERIFY(lines.at(3).isEmpty());
    QVERIFY(!lines.at(4).trimmed().isEmpty());
    QVERIFY(lines.at(5).isEmpty());

    // The compiler's stamp: "Mmm dd yyyy" with a space-padded day, then "hh:mm:ss".
    static const QRegularExpression stamp(QStringLiteral(
        "^Tarrow Boot Screen Editor: "
        "((?:Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) (?:[ 12][0-9]|3[01]) [0-9]{4}) "
        "((?:[01][0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9])$"));
    const QRegularExpressionMatch match = stamp.match(lines.at(0));
    QVERIFY2(match.hasMatch(), qPrintable(lines.at(0)));

    const QString date = match.captured(1).simplified();
    const QDateTime built(QLocale::c().toDate(date, QStringLiteral("MMM d yyyy")),
                          QTime::fromString(match.captured(2), QStringLiteral("hh:mm:ss")));
    QVERIFY2(built.isValid(), qPrintable(lines.at(0)));
    // Stamped in the build machine's local time, so allow a day's difference of zones.
    QVERIFY2(built <= QDateTime::currentDateTime().addDays(1), qPrintable(lines.at(0)));
}

void TestHelp::helpMenuOpensANewWindowEachTime()
{
    auto window = std::make_unique<MainWindow>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QAction *howTo =
        menuAction(*window, QStringLiteral("&Help"), QStringLiteral("&How To Use This Program"));
    QVERIFY(howTo);

    howTo->trigger();
    howTo->trigger();
    const QList<howToUse *> opened = helpWindowsOf(*window);
    QCOMPARE(opened.size(), 2);
    for (howToUse *help : opened) {
        QVERIFY(help->isVisible());
        QVERIFY(!help->isModal());
        QCOMPARE(help->size(), helpWindowSize);
        QCOMPARE(help->windowTitle(), QStringLiteral("How To..."));
    }
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(window->isEnabled());

    // Each window has its own text view: selecting in one leaves the other alone.
    QVERIFY(helpText(*opened.at(0)) != helpText(*opened.at(1)));
    helpText(*opened.at(0))->selectAll();
    QVERIFY(!helpText(*opened.at(1))->textCursor().hasSelection());

    QPointer<howToUse> closed = opened.at(0);
    QPointer<howToUse> stillOpen = opened.at(1);
    closed->close();
    QVERIFY(closed && !closed->isVisible());
    QVERIFY(stillOpen->isVisible());

    // A third choice opens yet another window rather than showing the hidden one again.
    howTo->trigger();
    QCOMPARE(helpWindowsOf(*window).size(), 3);
    QVERIFY(!closed->isVisible());

    window.reset();
    QVERIFY(!closed);
    QVERIFY(!stillOpen);
}

void TestHelp::aboutActionShowsTheAboutBox()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QAction *about = menuAction(window, QStringLiteral("&Help"), QStringLiteral("&About"));
    QVERIFY(about);

    QString shownText;
    QWidget *boxParent = nullptr;
    ModalDriver driver;
    driver.then([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY(box);
        shownText = box->text();
        boxParent = box->parentWidget();
        box->button(QMessageBox::Ok)->click();
    });
    about->trigger();

    QVERIFY2(driver.allAnswered(), qPrintable(driver.problems()));
    QCOMPARE(driver.titles, QStringList{QStringLiteral("About")});
    QCOMPARE(shownText, aboutBoxText());
    QCOMPARE(boxParent, &window);
    QVERIFY(!QApplication::activeModalWidget());
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
