#include "mainwindow.h"
#include "menucommands.h"
#include "modaldriver.h"
#include "scribblearea.h"
#include "testfiles.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

const QString OpenCommand = QStringLiteral("&Open a .BMP image");
const QString SaveCommand = QStringLiteral("&Save image in .BMP format");
const QString ExportCommand = QStringLiteral("&Export Boot Screen File");
const QString ImportCommand = QStringLiteral("&Import Boot Screen File");
const QString ExitCommand = QStringLiteral("E&xit");
const QString PromptText =
    QStringLiteral("The image has been modified.\nDo you want to save your changes?");
const QString PromptTitle = QStringLiteral("Scribble");
const QString WarningTitle = QStringLiteral("Tarrow Boot Screen Editor");
const QPoint CellOneTwo(7, 12); // column 1, row 2 at scale 1

enum class Answer {
    NoPrompt,
    Save,
    SaveUnderBmpName,
    SaveUnderBareName,
    SaveThenCancel,
    Discard,
    Cancel
};

// A modal that nobody answers would block the test forever. Any modal that stays up for
// seconds is recorded and closed, so the test fails with its title instead of hanging.
class StrayModalCloser
{
public:
    StrayModalCloser()
    {
        timer.setInterval(250);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            ticks = (modal && modal == seen) ? ticks + 1 : 0;
            seen = modal;
            if (modal && ticks >= 12) {
                auto *box = qobject_cast<QMessageBox *>(modal);
                strays << modal->windowTitle() +
                              (box ? QLatin1String(": ") + box->text() : QString());
                modal->close();
                ticks = 0;
            }
        });
        timer.start();
    }
    QStringList strays;

private:
    QTimer timer;
    QWidget *seen = nullptr;
    int ticks = 0;
};

QString canonical(const QString &path)
{
    return QFileInfo(path).canonicalFilePath();
}

QStringList filtersOf(const QString &filter)
{
    return filter.split(QStringLiteral(";;"));
}

// A boot screen file of 512 CR LF lines, all with the same value.
QByteArray uniformBootScreen(int value)
{
    QByteArray bytes;
    for (int line = 0; line < 512; ++line)
        bytes += QByteArray::number(value) + "\r\n";
    return bytes;
}

} // namespace

Q_DECLARE_METATYPE(Answer)

class tst_FileCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void promptGuardsDiscardingCommands_data();
    void promptGuardsDiscardingCommands();
    void saveDialogsOfferDefaults_data();
    void saveDialogsOfferDefaults();
    void exportLeavesDrawingModified();
    void filesComeIn_data();
    void filesComeIn();
    void failuresAreToldAndChangeNothing_data();
    void failuresAreToldAndChangeNothing();

private:
    QTemporaryDir *dir = nullptr;
    StrayModalCloser *strayCloser = nullptr;
    QString filePath(const QString &name) const { return dir->filePath(name); }
};

void tst_FileCommands::init()
{
    dir = new QTemporaryDir;
    QVERIFY(dir->isValid());
    QVERIFY(QDir::setCurrent(dir->path()));
    strayCloser = new StrayModalCloser;
}

void tst_FileCommands::cleanup()
{
    const QStringList strays = strayCloser->strays;
    delete strayCloser;
    QDir::setCurrent(QDir::tempPath());
    delete dir;
    QVERIFY2(strays.isEmpty(), qPrintable(QStringLiteral("unexpected dialogs: ") +
                                          strays.join(QLatin1String(" | "))));
}

void tst_FileCommands::promptGuardsDiscardingCommands_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("proceeds");

    // An empty command stands for the window's own close control.
    const QList<QPair<QString, QString>> commands{{QStringLiteral("close control"), QString()},
                                                  {QStringLiteral("exit"), ExitCommand},
                                                  {QStringLiteral("open"), OpenCommand},
                                                  {QStringLiteral("import"), ImportCommand}};
    for (const auto &command : commands) {
        const QByteArray name = command.first.toLatin1();
        QTest::addRow("%s, clean drawing: no prompt", name.constData())
            << command.second << false << Answer::NoPrompt << true;
        QTest::addRow("%s, Save: writes a PNG and goes on", name.constData())
            << command.second << true << Answer::Save << true;
        QTest::addRow("%s, Save then cancel the save: abandoned", name.constData())
            << command.second << true << Answer::SaveThenCancel << false;
        QTest::addRow("%s, Discard: goes on without writing", name.constData())
            << command.second << true << Answer::Discard << true;
        QTest::addRow("%s, Cancel: abandoned, drawing kept", name.constData())
            << command.second << true << Answer::Cancel << false;
    }
    QTest::newRow("exit, Save under a .BMP name: writes a BMP and closes")
        << ExitCommand << true << Answer::SaveUnderBmpName << true;
    QTest::newRow("exit, Save under a name without extension: writes kept.png and closes")
        << ExitCommand << true << Answer::SaveUnderBareName << true;
}

void tst_FileCommands::promptGuardsDiscardingCommands()
{
    QFETCH(QString, command);
    QFETCH(bool, modified);
    QFETCH(Answer, answer);
    QFETCH(bool, proceeds);

    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ScribbleArea *canvas = canvasOf(window);
    if (modified)
        QTest::mouseClick(canvas, Qt::LeftButton, {}, CellOneTwo);
    QCOMPARE(canvas->isModified(), modified);
    const QImage drawing = canvas->canvasImage();
    const bool saves = answer == Answer::Save || answer == Answer::SaveUnderBmpName ||
                       answer == Answer::SaveUnderBareName;
    const QString typedPath =
        filePath(answer == Answer::SaveUnderBmpName    ? QStringLiteral("kept.BMP")
                 : answer == Answer::SaveUnderBareName ? QStringLiteral("kept")
                                                       : QStringLiteral("kept.png"));
    const QString savedPath =
        answer == Answer::SaveUnderBareName ? typedPath + QLatin1String(".png") : typedPath;

    ModalDriver driver;
    QStringList expectedTitles;
    if (saves || answer == Answer::SaveThenCancel) {
        driver.pressMessageBoxButton(QMessageBox::Save);
        if (saves)
            driver.acceptFileDialog(typedPath);
        else
            driver.cancelFileDialog();
        expectedTitles << PromptTitle << QStringLiteral("Save Image As");
    } else if (answer == Answer::Discard) {
        driver.pressMessageBoxButton(QMessageBox::Discard);
        expectedTitles << PromptTitle;
    } else if (answer == Answer::Cancel) {
        driver.pressMessageBoxButton(QMessageBox::Cancel);
        expectedTitles << PromptTitle;
    }
    const bool isClose = command == ExitCommand || command.isEmpty();
    const bool showsOpenDialog = proceeds && !isClose;
    if (showsOpenDialog) {
        driver.cancelFileDialog();
        expectedTitles << QStringLiteral("Open File");
    }

    if (command.isEmpty())
        window.close();
    else
        QVERIFY(chooseMenuCommand(window, command));

    QVERIFY2(driver.allAnswered(), qPrintable(driver.problems()));
    QCOMPARE(driver.titles, expectedTitles);
    if (answer != Answer::NoPrompt) {
        QCOMPARE(driver.messageTexts.value(0), PromptText);
        QCOMPARE(driver.messageIcons.value(0), int(QMessageBox::Warning));
        QCOMPARE(driver.enterButtons.value(0), int(QMessageBox::Save));
    }
    if (saves || answer == Answer::SaveThenCancel) {
        QCOMPARE(driver.offeredFileNames.value(0), QStringLiteral("untitled.png"));
        QCOMPARE(canonical(driver.offeredDirectories.value(0)), canonical(dir->path()));
        QCOMPARE(driver.nameFilters.value(0), filtersOf("PNG Files (*.png);;All Files (*)"));
    }
    if (showsOpenDialog) {
        const QString onlyFilter = command == OpenCommand
                                       ? QStringLiteral("Images (*.bmp)")
                                       : QStringLiteral("Tarrow Boot Screen File (*.tbs)");
        QCOMPARE(driver.nameFilters.last(), QStringList{onlyFilter});
        QCOMPARE(canonical(driver.offeredDirectories.last()), canonical(dir->path()));
    }

    if (saves) {
        // The name decides the encoding: PNG as offered, BMP for a name ending in .bmp.
        const QByteArray magic =
            answer == Answer::SaveUnderBmpName ? QByteArray("BM") : QByteArray("\x89PNG\r\n\x1a\n");
        QVERIFY2(readFileBytes(savedPath).startsWith(magic),
                 qPrintable(QDir(dir->path()).entryList(QDir::Files).join(QLatin1Char(' '))));
        const QImage saved(savedPath);
        QCOMPARE(saved.size(), QSize(160, 640));
        QVERIFY(cellIsWhite(saved, 1, 2));
        QVERIFY(!cellIsWhite(saved, 0, 2));
    } else {
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList{});
    }

    QCOMPARE(window.isVisible(), !(isClose && proceeds));
    QCOMPARE(canvas->canvasImage(), drawing);
    QCOMPARE(canvas->isModified(), modified && !saves);
}

void tst_FileCommands::saveDialogsOfferDefaults_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("offeredName");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("typed");    // the name typed into the dialog
    QTest::addColumn<QString>("existing"); // a file there before, none when empty
    QTest::addColumn<QString>("question"); // whether to replace a file, answered Yes
    QTest::addColumn<QString>("savedAs");

    const QString bmpFilter = QStringLiteral("BMP Files (*.BMP);;All Files (*)");
    const QString tbsFilter = QStringLiteral("TBS Files (*.tbs);;All Files (*)");
    const QString none;
    QTest::newRow("menu save writes a 1-bit BMP and clears modified")
        << SaveCommand << true << "Save Image As"
        << "untitled.BMP" << bmpFilter << "chosen.out" << none << none << "chosen.out";
    QTest::newRow("menu save cancelled writes nothing")
        << SaveCommand << false << "Save Image As"
        << "untitled.BMP" << bmpFilter << "chosen.out" << none << none << none;
    QTest::newRow("export writes 512 lines and keeps modified")
        << ExportCommand << true << "Save File As"
        << "untitled.tbs" << tbsFilter << "chosen.out" << none << none << "chosen.out";
    QTest::newRow("export cancelled writes nothing")
        << ExportCommand << false << "Save File As"
        << "untitled.tbs" << tbsFilter << "chosen.out" << none << none << none;
    QTest::newRow("menu save of a name without extension: drawn.bmp")
        << SaveCommand << true << "Save Image As"
        << "untitled.BMP" << bmpFilter << "drawn" << none << none << "drawn.bmp";
    QTest::newRow("export of a name without extension: drawn.tbs")
        << ExportCommand << true << "Save File As"
        << "untitled.tbs" << tbsFilter << "drawn" << none << none << "drawn.tbs";
    QTest::newRow("export as drawn over drawn.tbs: asked about drawn.tbs")
        << ExportCommand << true << "Save File As"
        << "untitled.tbs" << tbsFilter << "drawn"
        << "drawn.tbs"
        << "drawn.tbs already exists.\nDo you want to replace it?"
        << "drawn.tbs";
    QTest::newRow("export as drawn beside a file drawn: no question, drawn kept")
        << ExportCommand << true << "Save File As"
        << "untitled.tbs" << tbsFilter << "drawn"
        << "drawn" << none << "drawn.tbs";
}

void tst_FileCommands::saveDialogsOfferDefaults()
{
    QFETCH(QString, command);
    QFETCH(bool, accept);
    QFETCH(QString, title);
    QFETCH(QString, offeredName);
    QFETCH(QString, filter);
    QFETCH(QString, typed);
    QFETCH(QString, existing);
    QFETCH(QString, question);
    QFETCH(QString, savedAs);

    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ScribbleArea *canvas = canvasOf(window);
    QTest::mouseClick(canvas, Qt::LeftButton, {}, CellOneTwo);
    const QImage drawing = canvas->canvasImage();
    const QByteArray oldBytes("old contents\n");
    if (!existing.isEmpty())
        QVERIFY(writeFileBytes(filePath(existing), oldBytes));

    ModalDriver driver;
    QStringList titles{title};
    if (accept)
        driver.acceptFileDialog(filePath(typed));
    else
        driver.cancelFileDialog();
    if (!question.isEmpty()) {
        driver.pressMessageBoxButton(QMessageBox::Yes);
        titles << title;
    }
    QVERIFY(chooseMenuCommand(window, command));

    QVERIFY2(driver.allAnswered(), qPrintable(driver.problems()));
    QCOMPARE(driver.titles, titles);
    QCOMPARE(driver.messageTexts, question.isEmpty() ? QStringList() : QStringList{question});
    QCOMPARE(driver.offeredFileNames.value(0), offeredName);
    QCOMPARE(canonical(driver.offeredDirectories.value(0)), canonical(dir->path()));
    QCOMPARE(driver.nameFilters.value(0), filtersOf(filter));
    QCOMPARE(canvas->canvasImage(), drawing);

    if (!accept) {
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList{});
        QVERIFY(canvas->isModified());
        return;
    }
    QStringList files{savedAs};
    if (!existing.isEmpty() && existing != savedAs) {
        QCOMPARE(readFileBytes(filePath(existing)), oldBytes);
        files << existing;
    }
    files.sort();
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files), files);
    const QByteArray bytes = readFileBytes(filePath(savedAs));
    if (command == SaveCommand) {
        QVERIFY(bytes.startsWith("BM"));
        QImage saved;
        QVERIFY(saved.loadFromData(bytes, "BMP"));
        QCOMPARE(saved.size(), QSize(160, 640));
        QCOMPARE(saved.depth(), 1);
        QCOMPARE(saved.colorCount(), 2);
        QVERIFY(cellIsWhite(saved, 1, 2));
        QVERIFY(!canvas->isModified());
    } else {
        QCOMPARE(bytes.count("\r\n"), 512);
        QVERIFY(canvas->isModified());
    }
}

void tst_FileCommands::exportLeavesDrawingModified()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mouseClick(canvasOf(window), Qt::LeftButton, {}, CellOneTwo);

    ModalDriver driver;
    driver.acceptFileDialog(filePath(QStringLiteral("screen.tbs")));
    driver.pressMessageBoxButton(QMessageBox::Cancel);
    QVERIFY(chooseMenuCommand(window, ExportCommand));
    QVERIFY(chooseMenuCommand(window, ExitCommand));

    QVERIFY2(driver.allAnswered(), qPrintable(driver.problems()));
    QCOMPARE(driver.titles, (QStringList{QStringLiteral("Save File As"), PromptTitle}));
    QCOMPARE(driver.messageTexts, QStringList{PromptText});
    QVERIFY(window.isVisible());
}

void tst_FileCommands::filesComeIn_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<int>("whiteCells");

    QImage oneCell(160, 640, QImage::Format_Mono);
    oneCell.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    oneCell.fill(0);
    for (int y = 11; y <= 14; ++y) {
        for (int x = 6; x <= 9; ++x)
            oneCell.setPixel(x, y, 1);
    }
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    oneCell.save(&buffer, "BMP");

    QTest::newRow("open a BMP: its one white cell") << OpenCommand << "one.bmp" << bmp << 1;
    QTest::newRow("import all 255: every cell on")
        << ImportCommand << "all.tbs" << uniformBootScreen(255) << 32 * 128;
    // Lines that are not numbers are no error: a line was taken, so the file is painted.
    QTest::newRow("import of a file with odd lines is not a failure")
        << ImportCommand << "odd.tbs" << QByteArray("x\r\nnot a number\r\n") << 0;
}

void tst_FileCommands::filesComeIn()
{
    QFETCH(QString, command);
    QFETCH(QString, fileName);
    QFETCH(QByteArray, contents);
    QFETCH(int, whiteCells);

    QVERIFY(writeFileBytes(filePath(fileName), contents));
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ScribbleArea *canvas = canvasOf(window);
    // Start from a drawing that differs from the file everywhere it matters.
    QVERIFY(chooseMenuCommand(window, QStringLiteral("&Invert All Pixels")));

    ModalDriver driver;
    driver.pressMessageBoxButton(QMessageBox::Discard);
    driver.acceptFileDialog(filePath(fileName));
    QVERIFY(chooseMenuCommand(window, command));

    QVERIFY2(driver.allAnswered(), qPrintable(driver.problems()));
    QCOMPARE(driver.titles, (QStringList{PromptTitle, QStringLiteral("Open File")}));
    int white = 0;
    for (int column = 0; column < 32; ++column) {
        for (int row = 0; row < 128; ++row)
            white += cellIsWhite(canvas->canvasImage(), column, row) ? 1 : 0;
    }
    QCOMPARE(white, whiteCells);
    if (whiteCells == 1)
        QVERIFY(cellIsWhite(canvas->canvasImage(), 1, 2));
    QVERIFY(!canvas->isModified());
}

void tst_FileCommands::failuresAreToldAndChangeNothing_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("fileName");

    QTest::newRow("menu save into a missing folder") << SaveCommand << "missing/picture.BMP";
    QTest::newRow("export into a missing folder") << ExportCommand << "missing/screen.tbs";
    QTest::newRow("prompt's PNG save fails: the close is abandoned")
        << ExitCommand << "missing/picture.png";
    QTest::newRow("open a file that is no image") << OpenCommand << "junk.bmp";
    QTest::newRow("import a file that is gone once chosen") << ImportCommand << "vanishing.tbs";
}

void tst_FileCommands::failuresAreToldAndChangeNothing()
{
    QFETCH(QString, command);
    QFETCH(QString, fileName);

    const QString path = filePath(fileName);
    if (command == OpenCommand)
        QVERIFY(writeFileBytes(path, "this is not an image"));
    if (command == ImportCommand)
        QVERIFY(writeFileBytes(path, uniformBootScreen(255)));

    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ScribbleArea *canvas = canvasOf(window);
    QTest::mouseClick(canvas, Qt::LeftButton, {}, CellOneTwo);
    const QImage drawing = canvas->canvasImage();

    ModalDriver driver;
    const bool prompts =
        command == ExitCommand || command == OpenCommand || command == ImportCommand;
    if (command == ExitCommand)
        driver.pressMessageBoxButton(QMessageBox::Save);
    else if (prompts)
        driver.pressMessageBoxButton(QMessageBox::Discard);
    if (command == ImportCommand) {
        driver.then([path](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            QVERIFY(dialog);
            typeFileName(dialog, path);
            static_cast<QDialog *>(dialog)->accept();
            QFile::remove(path); // after the dialog's own existence check
        });
    } else {
        driver.acceptFileDialog(path);
    }
    driver.pressMessageBoxButton(QMessageBox::Ok);
    QVERIFY(chooseMenuCommand(window, command));

    QVERIFY2(driver.allAnswered(), qPrintable(driver.problems()));
    QCOMPARE(driver.titles.last(), WarningTitle);
    const QString warning = driver.messageTexts.last();
    QVERIFY2(warning.contains(QDir::toNativeSeparators(path)), qPrintable(warning));
    QVERIFY2(!canvas->errorString().isEmpty() && warning.contains(canvas->errorString()),
             qPrintable(warning));
    QVERIFY(window.isVisible());
    QCOMPARE(canvas->canvasImage(), drawing);
    QVERIFY(canvas->isModified());
    QVERIFY(!QFileInfo::exists(dir->filePath(QStringLiteral("missing"))));
}

QTEST_MAIN(tst_FileCommands)
#include "tst_filecommands.moc"
