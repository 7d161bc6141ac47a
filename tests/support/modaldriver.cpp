#include "modaldriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <deque>

struct ModalDriver::Private
{
    QTimer timer;
    std::deque<Handler> pending;
    QPointer<QWidget> lastAnswered;
    QStringList problems;
};

ModalDriver::ModalDriver() : d(new Private)
{
    d->timer.setInterval(10);
    QObject::connect(&d->timer, &QTimer::timeout, [this] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal == d->lastAnswered.data() || d->pending.empty())
            return;
        Handler handler = std::move(d->pending.front());
        d->pending.pop_front();
        d->lastAnswered = modal;
        titles << modal->windowTitle();
        if (handler)
            handler(modal);
        if (d->pending.empty())
            d->timer.stop();
    });
}

ModalDriver::~ModalDriver()
{
    delete d;
}

void ModalDriver::then(Handler handler)
{
    if (!handler)
        return;
    d->pending.push_back(std::move(handler));
    d->timer.start();
}

bool ModalDriver::allAnswered() const
{
    return d->pending.empty() && d->problems.isEmpty();
}

QString ModalDriver::problems() const
{
    QStringList all = d->problems;
    if (!d->pending.empty())
        all << QStringLiteral("%1 queued answer(s) never met a dialog").arg(d->pending.size());
    return all.join(QLatin1String("; "));
}

QFileDialog *ModalDriver::recordFileDialog(QWidget *modal)
{
    auto *dialog = qobject_cast<QFileDialog *>(modal);
    if (!dialog) {
        d->problems << QStringLiteral("expected a file dialog, got %1 \"%2\"")
                           .arg(QString::fromLatin1(modal->metaObject()->className()),
                                modal->windowTitle());
        modal->close();
        return nullptr;
    }
    auto *nameEdit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    offeredFileNames << (nameEdit ? nameEdit->text() : QString());
    offeredDirectories << dialog->directory().absolutePath();
    nameFilters << dialog->nameFilters();
    return dialog;
}

void ModalDriver::acceptFileDialog(const QString &path)
{
    then([this, path](QWidget *modal) {
        QFileDialog *dialog = recordFileDialog(modal);
        if (!dialog)
            return;
        typeFileName(dialog, path);
        // Accepted from the dialog's own loop once this handler returned: the driver's timer does
        // not fire again inside its own handler, and accepting may ask whether to replace a file.
        QPointer<QDialog> target = dialog;
        QTimer::singleShot(0, dialog, [target] {
            if (target)
                target->accept(); // runs QFileDialog's own checks
        });
    });
}

void ModalDriver::cancelFileDialog()
{
    then([this](QWidget *modal) {
        if (QFileDialog *dialog = recordFileDialog(modal))
            dialog->reject();
    });
}

void ModalDriver::pressMessageBoxButton(int standardButton)
{
    then([this, standardButton](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (!box) {
            d->problems
                << QStringLiteral("expected a message box, got \"%1\"").arg(modal->windowTitle());
            modal->close();
            return;
        }
        messageTexts << box->text();
        messageIcons << box->icon();
        // The box's default button is only the one set explicitly; Enter presses whichever push
        // button the dialog made its default when it was shown.
        int enter = QMessageBox::NoButton;
        for (QAbstractButton *candidate : box->buttons()) {
            auto *push = qobject_cast<QPushButton *>(candidate);
            if (push && push->isDefault())
                enter = box->standardButton(candidate);
        }
        enterButtons << enter;
        QAbstractButton *button =
            box->button(static_cast<QMessageBox::StandardButton>(standardButton));
        if (!button) {
            d->problems << QStringLiteral("message box \"%1\" has no button %2")
                               .arg(box->text())
                               .arg(standardButton);
            box->close();
            return;
        }
        button->click();
    });
}

void typeFileName(QFileDialog *dialog, const QString &path)
{
    dialog->selectFile(path);
    if (auto *nameEdit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
        nameEdit->setText(path);
}
