#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QFileDialog;
class QWidget;

// Answers the modal dialogs that a command opens, from inside their own event loops.
// Queue the answers before triggering the command; each one waits for the next modal
// widget that is not the one answered before it. Everything a handler saw is recorded
// so the test can assert on it after the command returned.
class ModalDriver
{
public:
    using Handler = std::function<void(QWidget *modal)>;

    ModalDriver();
    ~ModalDriver();
    ModalDriver(const ModalDriver &) = delete;
    ModalDriver &operator=(const ModalDriver &) = delete;

    void then(Handler handler);

    // Common answers.
    void acceptFileDialog(const QString &path);
    void cancelFileDialog();
    void pressMessageBoxButton(int standardButton);

    // What the answered dialogs showed, in order: window titles; for message boxes the text,
    // the icon and the standard button that Enter presses (NoButton when none); for file
    // dialogs the offered file name (as typed in the name field) and the name filters.
    QStringList titles;
    QStringList messageTexts;
    QList<int> messageIcons;
    QList<int> enterButtons;
    QStringList offeredFileNames;
    QStringList offeredDirectories;
    QList<QStringList> nameFilters;

    // True when every queued answer was used and no handler met an unexpected widget.
    bool allAnswered() const;
    QString problems() const;

private:
    QFileDialog *recordFileDialog(QWidget *modal);

    struct Private;
    Private *d;
};

// Puts `path` into the dialog's name field as a user typing it would. selectFile() alone
// leaves the field untouched while it has keyboard focus, which depends on when the dialog
// window got activated.
void typeFileName(QFileDialog *dialog, const QString &path);
