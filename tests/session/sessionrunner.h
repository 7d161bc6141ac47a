#pragma once

#include "editormodel.h"
#include "sessionplan.h"

#include <QElapsedTimer>
#include <QHash>
#include <QMap>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>
#include <optional>
#include <random>

class MainWindow;
class ModalDriver;
class QAction;
class QWidget;
class ScribbleArea;

// Plays a session plan on a fresh MainWindow through real mouse events, menu actions and
// dialogs, and after every step holds the editor against an EditorModel.
class SessionRunner
{
public:
    SessionRunner();
    ~SessionRunner();

    // Plays the first `count` steps. Returns an empty string when every check held, otherwise
    // what went wrong; failedStep() then tells at which step (0-based).
    QString run(const QVector<SessionStep> &plan, int count);
    int failedStep() const { return failedAt; }

    // What the last LoggedSteps played steps did, one line per step. Only the end of a long
    // session is ever shown, and keeping all of it would grow without bound.
    static constexpr int LoggedSteps = 40;
    const QStringList &log() const { return steps; }
    // Milliseconds spent per kind of step, and how many of each ran.
    const QMap<QString, QPair<double, int>> &timing() const { return timeByKind; }

private:
    // What a file on disk must hold: exact bytes when known, else the cells of a saved image.
    struct FileExpectation
    {
        std::optional<QByteArray> bytes;
        std::optional<reference::Cells> cells;
        bool savedByEditor = false; // then a 1-bit 160 x 640 picture of the grid area
    };
    enum class PromptResult { NoPrompt, Proceed, Stop };

    QString play(const SessionStep &step, std::mt19937 &rng);
    QString check();
    QString checkFiles();
    // Every file dialog lists the files folder, so a long session would slow down with every
    // file it writes: once it holds this many, they are checked and removed.
    static constexpr int FilesKeptOnDisk = 32;
    QString checkAndClearFiles();
    QString checkScreen();

    void mouseAt(QTest::MouseAction action, Qt::MouseButton button, const QPoint &at);
    QString click(std::mt19937 &rng);
    QString drag(std::mt19937 &rng);
    QString strayButtons(std::mt19937 &rng);
    QString exportFile(std::mt19937 &rng);
    QString importFile(std::mt19937 &rng);
    QString saveBitmap(std::mt19937 &rng);
    QString openBitmap(std::mt19937 &rng);
    QString closeWindow(std::mt19937 &rng);

    // Queues the answers of the unsaved-changes prompt (and of the save it may start) and
    // says whether the command will go on.
    PromptResult answerPrompt(ModalDriver &driver, std::mt19937 &rng, QString *what);
    // Queues the OK of the warning box that must name `path` (and give `reason`, if any).
    void expectWarning(ModalDriver &driver, const QString &path, const QString &reason = {});
    QString finishDialogs(ModalDriver &driver);
    QString trigger(const QString &actionText);
    void watchForUnansweredDialogs();

    QPoint randomPosition(std::mt19937 &rng, bool mayBeNegative) const;
    QString freshPath(const QString &stem, const QString &suffix);
    QString existingPath(std::mt19937 &rng) const;
    QString missingFolderPath(const QString &suffix) const;

    QTemporaryDir scratch;
    QString filesDir;
    std::unique_ptr<MainWindow> window;
    ScribbleArea *canvas = nullptr;
    QHash<QString, QAction *> actions;
    EditorModel model;
    QMap<QString, FileExpectation> files;
    int nameCounter = 0;
    int failedAt = -1;
    QStringList steps;
    QString detail;
    QList<QStringList> expectedWarnings; // what each expected warning must say
    QString promptSavePath;              // the file the prompt's save writes in this step
    QStringList dialogProblems;
    QTimer watchdog;
    QPointer<QWidget> watchedModal;
    int watchedTicks = 0;
    QString previousCurrentDir;
    QMap<QString, QPair<double, int>> timeByKind;
};
