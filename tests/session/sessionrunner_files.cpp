// The file commands of a session: export, import, BMP save and open, closing the window, and
// the unsaved-changes prompt that guards them, each through its real dialogs.

#include "sessionrunner.h"

#include "dialoganswers.h"
#include "generatedinputs.h"
#include "mainwindow.h"
#include "modaldriver.h"
#include "testfiles.h"

#include <QDir>
#include <QMessageBox>
#include <QTest>

#include <algorithm>

namespace {

int uniform(std::mt19937 &rng, int low, int high)
{
    return std::uniform_int_distribution<int>(low, high)(rng);
}

// Why an import of a file from which the reader took no line fails.
const QString NoBootScreenData = QStringLiteral("The file contains no boot screen data.");

} // namespace

QString SessionRunner::freshPath(const QString &stem, const QString &suffix)
{
    return QDir(filesDir).filePath(
        QStringLiteral("%1_%2%3").arg(stem).arg(++nameCounter).arg(suffix));
}

QString SessionRunner::existingPath(std::mt19937 &rng) const
{
    if (files.isEmpty())
        return {};
    return files.keys().at(uniform(rng, 0, int(files.size()) - 1));
}

QString SessionRunner::missingFolderPath(const QString &suffix) const
{
    return QDir(filesDir).filePath(QStringLiteral("no such folder/lost") + suffix);
}

void SessionRunner::expectWarning(ModalDriver &driver, const QString &path, const QString &reason)
{
    expectedWarnings << QStringList{QFileInfo(path).fileName(), reason};
    driver.pressMessageBoxButton(QMessageBox::Ok);
}

QString SessionRunner::finishDialogs(ModalDriver &driver)
{
    if (!driver.allAnswered())
        return QStringLiteral("dialogs: %1").arg(driver.problems());
    for (const QStringList &warning : qAsConst(expectedWarnings)) {
        const auto says = [&warning](const QString &text) {
            return std::all_of(warning.cbegin(), warning.cend(),
                               [&text](const QString &part) { return text.contains(part); });
        };
        if (std::none_of(driver.messageTexts.cbegin(), driver.messageTexts.cend(), says))
            return QStringLiteral("no warning saying \"%1\"; boxes said: %2")
                .arg(warning.join(QLatin1String("\", \"")),
                     driver.messageTexts.join(QLatin1String(" | ")));
    }
    return {};
}

SessionRunner::PromptResult SessionRunner::answerPrompt(ModalDriver &driver, std::mt19937 &rng,
                                                        QString *what)
{
    if (!model.modified)
        return PromptResult::NoPrompt;
    const int roll = uniform(rng, 0, 99);
    if (roll < 40) {
        driver.pressMessageBoxButton(QMessageBox::Discard);
        *what += QLatin1String("prompt: discard; ");
        return PromptResult::Proceed;
    }
    if (roll < 60) {
        driver.pressMessageBoxButton(QMessageBox::Cancel);
        *what += QLatin1String("prompt: cancel");
        return PromptResult::Stop;
    }
    driver.pressMessageBoxButton(QMessageBox::Save);
    const int how = uniform(rng, 0, 99);
    if (how < 80) {
        const QString existing = how >= 70 ? existingPath(rng) : QString();
        const QString path = existing.isEmpty()
                                 ? freshPath(QStringLiteral("saved"), QStringLiteral(".png"))
                                 : existing;
        answerSaveDialog(driver, path, true, &dialogProblems);
        model.modified = false;
        files[path] = {std::nullopt, model.cells, true};
        promptSavePath = path;
        *what += QStringLiteral("prompt: save to %1; ").arg(QFileInfo(path).fileName());
        return PromptResult::Proceed;
    }
    if (how < 90) {
        driver.cancelFileDialog();
        *what += QLatin1String("prompt: save, then cancel");
        return PromptResult::Stop;
    }
    const QString path = missingFolderPath(QStringLiteral(".png"));
    answerSaveDialog(driver, path, true, &dialogProblems);
    expectWarning(driver, path);
    *what += QLatin1String("prompt: save into a missing folder");
    return PromptResult::Stop;
}

QString SessionRunner::exportFile(std::mt19937 &rng)
{
    ModalDriver driver;
    const int roll = uniform(rng, 0, 99);
    if (roll >= 92) {
        driver.cancelFileDialog();
        detail = QStringLiteral("cancelled");
        QString problem = trigger(QStringLiteral("&Export Boot Screen File"));
        return problem.isEmpty() ? finishDialogs(driver) : problem;
    }
    QString path = roll >= 70 && roll < 84 ? existingPath(rng) : QString();
    const bool replace = uniform(rng, 0, 99) < 85;
    const bool missingFolder = roll >= 84;
    if (missingFolder)
        path = missingFolderPath(QStringLiteral(".tbs"));
    else if (path.isEmpty())
        path = freshPath(QStringLiteral("export"), QStringLiteral(".tbs"));
    const bool overwrite = QFileInfo::exists(path);
    answerSaveDialog(driver, path, replace, &dialogProblems);
    if (missingFolder)
        expectWarning(driver, path);
    detail = QStringLiteral("to %1%2").arg(missingFolder ? path : QFileInfo(path).fileName(),
                                           overwrite ? (replace ? " (replace)" : " (keep)") : "");

    if (QString problem = trigger(QStringLiteral("&Export Boot Screen File")); !problem.isEmpty())
        return problem;
    if (QString problem = finishDialogs(driver); !problem.isEmpty())
        return problem;
    if (overwrite && !replace)
        return {};
    // Packing and the zoom reset happen even when the file cannot be written.
    model.exportPacks();
    if (missingFolder)
        return QFileInfo::exists(path) ? QStringLiteral("a file appeared in a missing folder")
                                       : QString();
    files[path] = {reference::fileBytes(model.buffer), std::nullopt, false};
    if (readFileBytes(path) != *files[path].bytes)
        return QStringLiteral("the exported file differs from the model's 512 lines");
    return {};
}

QString SessionRunner::importFile(std::mt19937 &rng)
{
    ModalDriver driver;
    const PromptResult prompt = answerPrompt(driver, rng, &detail);
    std::optional<EditorModel> imported;
    if (prompt != PromptResult::Stop) {
        const int roll = uniform(rng, 0, 99);
        QString path;
        if (roll >= 45 && roll < 78) {
            // Something already on disk: an export, a generated file, even an image. Not the
            // prompt's save, though: its bytes are not there yet to tell what the import takes.
            for (int tries = 0; tries < 4 && path.isEmpty(); ++tries) {
                const QString candidate = existingPath(rng);
                if (candidate != promptSavePath &&
                    (roll < 70 ? candidate.endsWith(QLatin1String(".tbs")) : !candidate.isEmpty()))
                    path = candidate;
            }
        }
        if (roll >= 90) {
            driver.cancelFileDialog();
            detail += QLatin1String("dialog cancelled");
        } else {
            const bool vanish = roll >= 80;
            if (path.isEmpty()) {
                path = freshPath(QStringLiteral("import"), QStringLiteral(".tbs"));
                const QByteArray bytes = generateBootScreenFile(rng);
                writeFileBytes(path, bytes);
                files[path] = {bytes, std::nullopt, false};
            }
            answerOpenDialog(driver, path, vanish, &dialogProblems);
            if (vanish) {
                expectWarning(driver, path);
                files.remove(path);
                detail += QStringLiteral("%1, removed once chosen").arg(QFileInfo(path).fileName());
            } else {
                EditorModel after = model;
                if (after.importFile(readFileBytes(path))) {
                    imported = after;
                } else {
                    expectWarning(driver, path, NoBootScreenData);
                    detail += QLatin1String("(nothing taken) ");
                }
                detail += QFileInfo(path).fileName();
            }
        }
    }
    if (QString problem = trigger(QStringLiteral("&Import Boot Screen File")); !problem.isEmpty())
        return problem;
    if (QString problem = finishDialogs(driver); !problem.isEmpty())
        return problem;
    if (imported)
        model = *imported;
    return {};
}

QString SessionRunner::saveBitmap(std::mt19937 &rng)
{
    ModalDriver driver;
    const int roll = uniform(rng, 0, 99);
    if (roll >= 90) {
        driver.cancelFileDialog();
        detail = QStringLiteral("cancelled");
        QString problem = trigger(QStringLiteral("&Save image in .BMP format"));
        return problem.isEmpty() ? finishDialogs(driver) : problem;
    }
    const bool missingFolder = roll >= 80;
    QString path = missingFolder ? missingFolderPath(QStringLiteral(".bmp"))
                   : roll >= 70  ? existingPath(rng)
                                 : QString();
    if (path.isEmpty())
        path = freshPath(QStringLiteral("image"), QStringLiteral(".bmp"));
    const bool overwrite = QFileInfo::exists(path);
    const bool replace = uniform(rng, 0, 99) < 85;
    answerSaveDialog(driver, path, replace, &dialogProblems);
    if (missingFolder)
        expectWarning(driver, path);
    detail = QStringLiteral("to %1%2").arg(missingFolder ? path : QFileInfo(path).fileName(),
                                           overwrite ? (replace ? " (replace)" : " (keep)") : "");
    if (QString problem = trigger(QStringLiteral("&Save image in .BMP format")); !problem.isEmpty())
        return problem;
    if (QString problem = finishDialogs(driver); !problem.isEmpty())
        return problem;
    if (missingFolder || (overwrite && !replace))
        return {};
    model.modified = false;
    files[path] = {std::nullopt, model.cells, true};
    return {};
}

QString SessionRunner::openBitmap(std::mt19937 &rng)
{
    ModalDriver driver;
    const PromptResult prompt = answerPrompt(driver, rng, &detail);
    std::optional<reference::Cells> opened;
    if (prompt != PromptResult::Stop) {
        const int roll = uniform(rng, 0, 99);
        QString path;
        if (roll < 45) {
            for (int tries = 0; tries < 4 && path.isEmpty(); ++tries) {
                const QString candidate = existingPath(rng);
                if (!candidate.isEmpty() && files[candidate].cells)
                    path = candidate;
            }
        }
        if (roll >= 90) {
            driver.cancelFileDialog();
            detail += QLatin1String("dialog cancelled");
        } else {
            const bool vanish = roll >= 80;
            if (path.isEmpty()) {
                const QImage picture = generatePicture(rng);
                const bool png = uniform(rng, 0, 1) == 0;
                path = freshPath(QStringLiteral("picture"),
                                 png ? QStringLiteral(".png") : QStringLiteral(".bmp"));
                if (!picture.save(path, png ? "PNG" : "BMP"))
                    return QStringLiteral("could not write the test picture %1").arg(path);
                files[path] = {readFileBytes(path), cellsOfPicture(picture), false};
            }
            answerOpenDialog(driver, path, vanish, &dialogProblems);
            if (vanish) {
                expectWarning(driver, path);
                files.remove(path);
                detail += QStringLiteral("%1, removed once chosen").arg(QFileInfo(path).fileName());
            } else {
                opened = files[path].cells;
                detail += QFileInfo(path).fileName();
            }
        }
    }
    if (QString problem = trigger(QStringLiteral("&Open a .BMP image")); !problem.isEmpty())
        return problem;
    if (QString problem = finishDialogs(driver); !problem.isEmpty())
        return problem;
    if (opened)
        model.loadPicture(*opened);
    return {};
}

QString SessionRunner::closeWindow(std::mt19937 &rng)
{
    ModalDriver driver;
    const bool closes = answerPrompt(driver, rng, &detail) != PromptResult::Stop;
    if (QString problem = trigger(QStringLiteral("E&xit")); !problem.isEmpty())
        return problem;
    if (QString problem = finishDialogs(driver); !problem.isEmpty())
        return problem;
    if (window->isVisible() == closes)
        return closes ? QStringLiteral("the window stayed open")
                      : QStringLiteral("the window closed");
    if (closes) {
        detail += QLatin1String("closed, shown again");
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            return QStringLiteral("the window did not show again");
    }
    return {};
}
