#pragma once

#include <QDialog>

class HowToUseForm;

// The modeless help window: the user guide in a fixed-size dialog. Closing it only hides
// it; it lives until its parent is destroyed.
class howToUse : public QDialog
{
    Q_OBJECT

public:
    explicit howToUse(QWidget *parent = nullptr);
    ~howToUse() override;

private:
    HowToUseForm *form;
};
