#pragma once

class QDialog;
class QGridLayout;
class QTextEdit;

// The help dialog's layout, built the way a generated form builds it: a read-only rich-text
// view filling a fixed-size dialog. The pointers do not own; the widgets belong to the dialog.
class HowToUseForm
{
public:
    QGridLayout *gridLayout = nullptr;
    QTextEdit *textEdit = nullptr;

    void setupUi(QDialog *howToUse);
    void retranslateUi(QDialog *howToUse);
};
