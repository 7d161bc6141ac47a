#include "dialoganswers.h"

#include "modaldriver.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

namespace {

QFileDialog *fileDialogOrComplain(QWidget *modal, QStringList *problems)
{
    auto *dialog = qobject_cast<QFileDialog *>(modal);
    if (!dialog) {
        *problems << QStringLiteral("expected a file dialog, got %1 \"%2\"")
                         .arg(QString::fromLatin1(modal->metaObject()->className()),
                              modal->windowTitle());
        modal->close();
    }
    return dialog;
}

} // namespace

void answerSaveDialog(ModalDriver &driver, const QString &path, bool replace, QStringList *problems)
{
    driver.then([path, problems](QWidget *modal) {
        QFileDialog *dialog = fileDialogOrComplain(modal, problems);
        if (!dialog)
            return;
        typeFileName(dialog, path);
        // Accepting from the dialog's own loop, after this handler returned, lets the driver
        // answer the question whether to replace an existing file that the accept may ask.
        QPointer<QDialog> target = dialog;
        QTimer::singleShot(0, dialog, [target] {
            if (target)
                target->accept();
        });
    });
    if (QFileInfo::exists(path)) {
        driver.pressMessageBoxButton(replace ? QMessageBox::Yes : QMessageBox::No);
        if (!replace)
            driver.cancelFileDialog();
    }
}

void answerOpenDialog(ModalDriver &driver, const QString &path, bool vanish, QStringList *problems)
{
    driver.then([path, vanish, problems](QWidget *modal) {
        QFileDialog *dialog = fileDialogOrComplain(modal, problems);
        if (!dialog)
            return;
        if (vanish)
            QObject::connect(dialog, &QFileDialog::fileSelected, dialog,
                             [path] { QFile::remove(path); });
        typeFileName(dialog, path);
        static_cast<QDialog *>(dialog)->accept();
    });
}
