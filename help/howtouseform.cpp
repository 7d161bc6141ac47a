#include "howtouseform.h"

#include "helpdocument.h"

#include <QCoreApplication>
#include <QDialog>
#include <QGridLayout>
#include <QIcon>
#include <QSize>
#include <QSizePolicy>
#include <QTextEdit>

void HowToUseForm::setupUi(QDialog *howToUse)
{
    if (howToUse->objectName().isEmpty())
        howToUse->setObjectName(QStringLiteral("howToUse"));
    howToUse->resize(600, 432);
    QSizePolicy dialogPolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    dialogPolicy.setHorizontalStretch(0);
    dialogPolicy.setVerticalStretch(0);
    dialogPolicy.setHeightForWidth(howToUse->sizePolicy().hasHeightForWidth());
    howToUse->setSizePolicy(dialogPolicy);
    howToUse->setMinimumSize(QSize(600, 432));
    howToUse->setMaximumSize(QSize(600, 432));
    QIcon icon;
    icon.addFile(QStringLiteral(":/myResource/Ostralogo.PNG"), QSize(), QIcon::Normal, QIcon::Off);
    howToUse->setWindowIcon(icon);

    gridLayout = new QGridLayout(howToUse);
    gridLayout->setObjectName(QStringLiteral("gridLayout"));
    textEdit = new QTextEdit(howToUse);
    textEdit->setObjectName(QStringLiteral("textEdit"));
    QSizePolicy textPolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    textPolicy.setHorizontalStretch(0);
    textPolicy.setVerticalStretch(0);
    textPolicy.setHeightForWidth(textEdit->sizePolicy().hasHeightForWidth());
    textEdit->setSizePolicy(textPolicy);
    textEdit->setReadOnly(true);
    gridLayout->addWidget(textEdit, 0, 0, 1, 1);

    retranslateUi(howToUse);

    QMetaObject::connectSlotsByName(howToUse);
}

void HowToUseForm::retranslateUi(QDialog *howToUse)
{
    howToUse->setWindowTitle(QCoreApplication::translate("howToUse", "How To..."));
    textEdit->setHtml(QCoreApplication::translate("howToUse", helpDocumentHtml()));
}
