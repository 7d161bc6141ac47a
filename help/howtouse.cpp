#include "howtouse.h"

#include "howtouseform.h"

howToUse::howToUse(QWidget *parent) : QDialog(parent), form(new HowToUseForm)
{
    form->setupUi(this);
}

howToUse::~howToUse()
{
    delete form;
}
