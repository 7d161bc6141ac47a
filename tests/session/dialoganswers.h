#pragma once

#include <QString>
#include <QStringList>

class ModalDriver;

// Answers to the editor's file dialogs, queued on a ModalDriver before the command runs. The
// path is typed into the dialog's name field, as a user would, so that a folder that does not
// exist reaches the command instead of being dropped by the dialog's navigation.

// A save dialog. When the file exists the dialog asks whether to replace it: `replace`
// answers Yes, otherwise No and the dialog is then cancelled.
void answerSaveDialog(ModalDriver &driver, const QString &path, bool replace,
                      QStringList *problems);

// An open dialog. With `vanish` the file is deleted the moment the dialog hands it over, so
// the command meets a file that is gone (the dialog itself accepts existing files only).
void answerOpenDialog(ModalDriver &driver, const QString &path, bool vanish, QStringList *problems);
