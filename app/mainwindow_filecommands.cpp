#include "mainwindow.h"

#include "fileformats.h"
#include "scribblearea.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

// The menu save writes BMP whatever the name. The prompt's save offers PNG, yet a name the
// user ends in .bmp is written as a BMP, so that the file holds what its name says.
static QByteArray imageEncodingFor(const QString &fileName, const QByteArray &offeredFormat)
{
    const std::optional<fileformats::Format> named = fileformats::formatForFileName(fileName);
    if (offeredFormat == "png" && named && named->kind == fileformats::Format::Kind::EditorBitmap)
        return named->imageFormat;
    return offeredFormat;
}

void MainWindow::open()
{
    if (!askToSaveChanges())
        return;
    const QString fileName = askForOpenFileName(QStringLiteral("Images (*.bmp)"));
    if (!fileName.isEmpty() && !canvas->loadBitmap(fileName))
        warnFailure(tr("Could not open the image"), fileName);
}

void MainWindow::saveImage()
{
    saveImageAs("BMP");
}

void MainWindow::exportHex()
{
    exportBootScreenAs("tbs");
    // Writing the file puts the canvas back at scale 1 by itself; keep the menu and the
    // minimum size from claiming a zoom the canvas is no longer in.
    if (!canvas->isZoomed() && zoomAction->isChecked())
        showNormalSizeChecked();
}

void MainWindow::importHex()
{
    if (!askToSaveChanges())
        return;
    const QString fileName = askForOpenFileName(QStringLiteral("Tarrow Boot Screen File (*.tbs)"));
    if (fileName.isEmpty())
        return;
    // Reading fails only when the file cannot be opened; odd lines are not an error.
    if (canvas->readBootScreen(fileName))
        canvas->unpackScreen();
    else
        warnFailure(tr("Could not import the boot screen file"), fileName);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (askToSaveChanges())
        event->accept();
    else
        event->ignore();
}

bool MainWindow::askToSaveChanges()
{
    if (!canvas->isModified())
        return true;
    const QMessageBox::StandardButton answer = QMessageBox::warning(
        this, tr("Scribble"), tr("The image has been modified.\nDo you want to save your changes?"),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::NoButton);
    if (answer == QMessageBox::Save)
        return saveImageAs("png");
    if (answer == QMessageBox::Cancel)
        return false;
    return true;
}

bool MainWindow::saveImageAs(const QByteArray &fileFormat)
{
    const QString fileName = askForSaveFileName(tr("Save Image As"), fileFormat);
    if (fileName.isEmpty())
        return false;
    const bool saved =
        canvas->saveBitmap(fileName, imageEncodingFor(fileName, fileFormat).constData());
    if (!saved)
        warnFailure(tr("Could not save the image"), fileName);
    return saved;
}

bool MainWindow::exportBootScreenAs(const QByteArray &fileFormat)
{
    const QString fileName = askForSaveFileName(tr("Save File As"), fileFormat);
    if (fileName.isEmpty())
        return false;
    const bool written = canvas->writeBootScreen(fileName);
    if (!written)
        warnFailure(tr("Could not export the boot screen file"), fileName);
    return written;
}

QString MainWindow::askForSaveFileName(const QString &caption, const QByteArray &fileFormat)
{
    // The format names the default file, labels the filter and, for images, is the
    // encoding written; its case is kept in the file name.
    const QString format = QString::fromLatin1(fileFormat);
    const QString initialPath = QDir::currentPath() + QLatin1String("/untitled.") + format;
    const QString filter = tr("%1 Files (*.%2);;All Files (*)").arg(format.toUpper()).arg(format);
    QFileDialog dialog(this, caption, initialPath, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // As native dialogs do: a name typed without an extension gets the format's (the device's
    // loader lists only *.tbs files), and the question whether to replace a file is about that
    // final name.
    dialog.setDefaultSuffix(format.toLower());
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

QString MainWindow::askForOpenFileName(const QString &filter)
{
    return QFileDialog::getOpenFileName(this, tr("Open File"), QDir::currentPath(), filter);
}

void MainWindow::warnFailure(const QString &action, const QString &fileName)
{
    // Only informs: the command's result and the modified flag are already settled.
    QString reason = canvas->errorString();
    if (reason.isEmpty())
        reason = tr("Unknown error");
    QMessageBox::warning(
        this, tr("Tarrow Boot Screen Editor"),
        tr("%1 \"%2\":\n%3").arg(action, QDir::toNativeSeparators(fileName), reason));
}
