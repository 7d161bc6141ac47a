#include "sessionrunner.h"

#include "generatedinputs.h"
#include "mainwindow.h"
#include "modaldriver.h"
#include "scribblearea.h"
#include "testfiles.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTest>

namespace {

int uniform(std::mt19937 &rng, int low, int high)
{
    return std::uniform_int_distribution<int>(low, high)(rng);
}

QString pointText(const QPoint &point)
{
    return QStringLiteral("(%1,%2)").arg(point.x()).arg(point.y());
}

// Seconds a dialog may stay unanswered before it counts as one nobody expected.
constexpr int UnansweredDialogTicks = 20;

} // namespace

SessionRunner::SessionRunner()
{
    previousCurrentDir = QDir::currentPath();
    QDir root(scratch.path());
    root.mkdir(QStringLiteral("files"));
    root.mkdir(QStringLiteral("start")); // dialogs open here: empty, so they come up quickly
    filesDir = root.filePath(QStringLiteral("files"));
    QDir::setCurrent(root.filePath(QStringLiteral("start")));

    window = std::make_unique<MainWindow>();
    window->show();
    if (QTest::qWaitForWindowExposed(window.get()))
        canvas = window->findChild<ScribbleArea *>();
    for (QMenu *menu : window->findChildren<QMenu *>())
        for (QAction *action : menu->actions())
            if (!action->isSeparator())
                actions.insert(action->text(), action);

    watchdog.setInterval(250);
    QObject::connect(&watchdog, &QTimer::timeout, [this] { watchForUnansweredDialogs(); });
    watchdog.start();
}

SessionRunner::~SessionRunner()
{
    watchdog.stop();
    window.reset();
    QDir::setCurrent(previousCurrentDir);
}

void SessionRunner::watchForUnansweredDialogs()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || modal != watchedModal) {
        watchedModal = modal;
        watchedTicks = 0;
        return;
    }
    if (++watchedTicks < UnansweredDialogTicks)
        return;
    // Close it rather than hang: an unexpected dialog is a finding, not a reason to stop.
    QString text;
    if (auto *box = qobject_cast<QMessageBox *>(modal))
        text = box->text();
    dialogProblems << QStringLiteral("an unexpected %1 \"%2\" %3")
                          .arg(QString::fromLatin1(modal->metaObject()->className()),
                               modal->windowTitle(), text);
    if (auto *dialog = qobject_cast<QDialog *>(modal))
        dialog->reject();
    else
        modal->close();
    watchedTicks = 0;
}

QString SessionRunner::run(const QVector<SessionStep> &plan, int count)
{
    if (!canvas)
        return QStringLiteral("the main window did not show, or has no ScribbleArea");
    for (int i = 0; i < count && i < plan.size(); ++i) {
        const SessionStep &step = plan[i];
        std::mt19937 rng(step.seed);
        detail.clear();
        expectedWarnings.clear();
        dialogProblems.clear();
        promptSavePath.clear();
        QElapsedTimer timer;
        timer.start();
        QString problem = play(step, rng);
        auto &spent = timeByKind[kindName(step.kind)];
        spent.first += static_cast<double>(timer.nsecsElapsed()) / 1e6;
        ++spent.second;
        steps << QStringLiteral("step %1: %2 %3").arg(i).arg(kindName(step.kind), detail);
        if (steps.size() > LoggedSteps)
            steps.removeFirst();
        if (problem.isEmpty() && !dialogProblems.isEmpty())
            problem = dialogProblems.join(QLatin1String("; "));
        if (problem.isEmpty())
            problem = check();
        if (problem.isEmpty() && files.size() >= FilesKeptOnDisk)
            problem = checkAndClearFiles();
        if (!problem.isEmpty()) {
            failedAt = i;
            return problem;
        }
    }
    const QString problem = checkFiles();
    if (!problem.isEmpty())
        failedAt = qMin(count, int(plan.size())) - 1;
    return problem;
}

QString SessionRunner::trigger(const QString &actionText)
{
    QAction *action = actions.value(actionText);
    if (!action)
        return QStringLiteral("no menu offers \"%1\"").arg(actionText);
    action->trigger();
    return {};
}

QString SessionRunner::play(const SessionStep &step, std::mt19937 &rng)
{
    switch (step.kind) {
    case SessionStep::Click:
        return click(rng);
    case SessionStep::Drag:
        return drag(rng);
    case SessionStep::StrayButtons:
        return strayButtons(rng);
    case SessionStep::TogglePen:
        model.penOn = !model.penOn;
        return trigger(QStringLiteral("Toggle Pen"));
    case SessionStep::ZoomIn:
        model.zoomed = true;
        return trigger(QStringLiteral("&Zoom X 3"));
    case SessionStep::NormalSize:
        model.zoomed = false;
        return trigger(QStringLiteral("&Normal Size"));
    case SessionStep::Invert:
        model.invert();
        return trigger(QStringLiteral("&Invert All Pixels"));
    case SessionStep::AllOn:
        model.setAll(true);
        return trigger(QStringLiteral("&All Pixels On"));
    case SessionStep::AllOff:
        model.setAll(false);
        return trigger(QStringLiteral("&All Pixels Off"));
    case SessionStep::Export:
        return exportFile(rng);
    case SessionStep::Import:
        return importFile(rng);
    case SessionStep::SaveBitmap:
        return saveBitmap(rng);
    case SessionStep::OpenBitmap:
        return openBitmap(rng);
    case SessionStep::Close:
        return closeWindow(rng);
    case SessionStep::CheckScreen:
        return checkScreen();
    }
    return {};
}

// Positions cluster where the snapping rules have their edges: the first and last cells,
// just past the grid's right and bottom edges, and (while dragging) just past the left and
// top edges of the widget, where the remainder is taken toward zero.
QPoint SessionRunner::randomPosition(std::mt19937 &rng, bool mayBeNegative) const
{
    const int scale = model.zoomed ? 3 : 1;
    const auto coordinate = [&](int gridExtent, int widgetExtent) {
        const int grid = gridExtent * scale;
        const int cell = 5 * scale;
        const int roll = uniform(rng, 0, 99);
        if (roll < 70)
            return uniform(rng, 0, grid - 1);
        if (roll < 77)
            return uniform(rng, 0, cell - 1);
        if (roll < 85)
            return uniform(rng, grid - cell, grid + cell + 2);
        if (roll < 92 || !mayBeNegative)
            return uniform(rng, 0, widgetExtent - 1);
        return uniform(rng, -(2 * cell + 2), -1);
    };
    return {coordinate(160, canvas->width()), coordinate(640, canvas->height())};
}

// QTest reads a null point as "the widget's centre", so at the corner (0, 0) itself the event
// is built here the way QTest builds the others, with QTest's record of the held buttons.
void SessionRunner::mouseAt(QTest::MouseAction action, Qt::MouseButton button, const QPoint &at)
{
    if (!at.isNull()) {
        QTest::mouseEvent(action, canvas, button, Qt::NoModifier, at);
        return;
    }
    Qt::MouseButtons &held = QTestPrivate::qtestMouseButtons;
    QEvent::Type type = QEvent::MouseMove;
    if (action == QTest::MousePress) {
        held |= button;
        type = QEvent::MouseButtonPress;
    } else if (action == QTest::MouseRelease) {
        held &= ~Qt::MouseButtons(button);
        type = QEvent::MouseButtonRelease;
    } else if (held == Qt::NoButton) {
        return; // QTest only moves the cursor then: no event reaches the canvas
    }
    QMouseEvent event(type, at, canvas->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(canvas, &event);
}

QString SessionRunner::click(std::mt19937 &rng)
{
    const QPoint at = randomPosition(rng, false);
    mouseAt(QTest::MousePress, Qt::LeftButton, at);
    model.leftPress(at);
    mouseAt(QTest::MouseRelease, Qt::LeftButton, at);
    model.leftRelease();
    detail = pointText(at);
    return {};
}

QString SessionRunner::drag(std::mt19937 &rng)
{
    QPoint at = randomPosition(rng, false);
    mouseAt(QTest::MousePress, Qt::LeftButton, at);
    model.leftPress(at);
    detail = QStringLiteral("press %1 moves").arg(pointText(at));
    // A fast stroke: moves far apart along a row, a column, a diagonal or any slope, so that
    // the cells between two positions have to be filled in.
    const int scale = model.zoomed ? 3 : 1;
    const int speed = uniform(rng, 6, 60) * scale;
    const QPoint stroke = uniform(rng, 0, 2) == 0
                              ? QPoint(uniform(rng, -speed, speed), uniform(rng, -speed, speed))
                              : QPoint(uniform(rng, -1, 1) * speed, uniform(rng, -1, 1) * speed);
    bool rightHeld = false;
    const int moves = uniform(rng, 1, 14);
    for (int i = 0; i < moves; ++i) {
        const int roll = uniform(rng, 0, 99);
        if (roll < 4) {
            // The pen is read at every painted cell, so a switch mid-drag shows from the next
            // move on, the first cell of its line included.
            model.penOn = !model.penOn;
            if (QString problem = trigger(QStringLiteral("Toggle Pen")); !problem.isEmpty())
                return problem;
            detail += QLatin1String(" pen");
        } else if (roll < 7 && !rightHeld) {
            // Another button joining the drag changes nothing: the left one is still held.
            mouseAt(QTest::MousePress, Qt::RightButton, at);
            rightHeld = true;
            detail += QLatin1String(" +right");
        }
        const int how = uniform(rng, 0, 99);
        if (how < 40) {
            const int reach = model.zoomed ? 17 : 7;
            at += QPoint(uniform(rng, -reach, reach), uniform(rng, -reach, reach));
        } else if (how < 75) {
            at += stroke;
        } else {
            at = randomPosition(rng, true);
        }
        mouseAt(QTest::MouseMove, Qt::NoButton, at);
        model.leftHeldMove(at);
        detail += QLatin1Char(' ') + pointText(at);
    }
    if (rightHeld)
        mouseAt(QTest::MouseRelease, Qt::RightButton, at);
    mouseAt(QTest::MouseRelease, Qt::LeftButton, at);
    model.leftRelease();
    return {};
}

QString SessionRunner::strayButtons(std::mt19937 &rng)
{
    // Buttons other than the left one, moves with no button, and a left release without a
    // press: none of them may paint.
    const Qt::MouseButton button = uniform(rng, 0, 1) ? Qt::RightButton : Qt::MiddleButton;
    QPoint at = randomPosition(rng, false);
    mouseAt(QTest::MousePress, button, at);
    detail = QStringLiteral("%1 press %2")
                 .arg(button == Qt::RightButton ? QLatin1String("right") : QLatin1String("middle"),
                      pointText(at));
    for (int i = uniform(rng, 0, 3); i > 0; --i) {
        at = randomPosition(rng, true);
        mouseAt(QTest::MouseMove, Qt::NoButton, at);
        detail += QLatin1Char(' ') + pointText(at);
    }
    mouseAt(QTest::MouseRelease, button, at);
    if (uniform(rng, 0, 3) == 0) {
        mouseAt(QTest::MouseRelease, Qt::LeftButton, at);
        detail += QLatin1String(", left release");
    }
    return {};
}

QString SessionRunner::check()
{
    const QImage &image = canvas->canvasImage();
    if (image.width() < 160 || image.height() < 640)
        return QStringLiteral("the canvas image is %1 x %2").arg(image.width()).arg(image.height());
    QStringList wrong;
    for (int column = 0; column < reference::Columns; ++column)
        for (int row = 0; row < reference::Rows; ++row)
            if (cellIsWhite(image, column, row) != model.cells[column][row] && wrong.size() < 6)
                wrong << QStringLiteral("column %1 row %2 is %3")
                             .arg(column)
                             .arg(row)
                             .arg(model.cells[column][row] ? "off" : "on");
    if (!wrong.isEmpty())
        return QStringLiteral("cells differ from the model: ") + wrong.join(QLatin1String(", "));
    if (canvas->isModified() != model.modified)
        return QStringLiteral("modified flag is %1, the model says %2")
            .arg(canvas->isModified())
            .arg(model.modified);
    if (canvas->isZoomed() != model.zoomed)
        return QStringLiteral("zoom is %1, the model says %2")
            .arg(canvas->isZoomed())
            .arg(model.zoomed);
    const bootscreen::ScreenBuffer &buffer = canvas->screenBuffer();
    for (int entry = 0; entry < bootscreen::EntryCount; ++entry)
        if (buffer[entry] != model.buffer[entry])
            return QStringLiteral("screen buffer entry %1 is %2, the model says %3")
                .arg(entry)
                .arg(buffer[entry])
                .arg(model.buffer[entry]);
    if (!window->isVisible())
        return QStringLiteral("the window is not visible");
    return {};
}

QString SessionRunner::checkScreen()
{
    // What the user sees: the top-left interior pixel of each cell, which alone carries the
    // cell's state, white exactly when the cell is on, at the scale the model expects.
    const QImage shot = canvas->grab().toImage();
    const int scale = model.zoomed ? 3 : 1;
    int wrong = 0;
    QString first;
    for (int column = 0; column < reference::Columns; ++column)
        for (int row = 0; row < reference::Rows; ++row) {
            const QPoint at(scale * (5 * column + 1) + scale / 2,
                            scale * (5 * row + 1) + scale / 2);
            const bool white = shot.valid(at) && qBlue(shot.pixel(at)) != 0;
            if (white != model.cells[column][row] && wrong++ == 0)
                first = QStringLiteral("column %1 row %2").arg(column).arg(row);
        }
    detail = QStringLiteral("at scale %1").arg(scale);
    if (wrong)
        return QStringLiteral("%1 cells on screen differ from the model at scale %2, first %3")
            .arg(wrong)
            .arg(scale)
            .arg(first);
    return {};
}

QString SessionRunner::checkAndClearFiles()
{
    if (QString problem = checkFiles(); !problem.isEmpty())
        return problem;
    QDir folder(filesDir);
    for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden))
        if (!folder.remove(name))
            return QStringLiteral("could not remove %1 from the files folder").arg(name);
    files.clear();
    return {};
}

QString SessionRunner::checkFiles()
{
    // Every file is as the last write left it, and no write left anything else behind.
    QStringList present =
        QDir(filesDir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    present.sort();
    QStringList expected;
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        expected << QFileInfo(it.key()).fileName();
        if (it->bytes && readFileBytes(it.key()) != *it->bytes)
            return QStringLiteral("%1 changed").arg(it.key());
        if (it->cells) {
            const QImage picture(it.key());
            if (it->savedByEditor && (picture.size() != QSize(160, 640) || picture.depth() != 1))
                return QStringLiteral("%1 is not a 1-bit 160 x 640 picture").arg(it.key());
            if (cellsOfPicture(picture) != *it->cells)
                return QStringLiteral("%1 does not hold the cells it was saved with").arg(it.key());
        }
    }
    expected.sort();
    if (present != expected)
        return QStringLiteral("the folder holds %1, expected %2")
            .arg(present.join(QLatin1Char(' ')), expected.join(QLatin1Char(' ')));
    return {};
}
