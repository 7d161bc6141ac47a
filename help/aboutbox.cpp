#include "aboutbox.h"

#include <QIODevice>
#include <QTextStream>

QString aboutBoxText()
{
    QString text;
    QTextStream out(&text, QIODevice::ReadWrite);
    out << "Tarrow Boot Screen Editor: " << __DATE__ << " " << __TIME__ << "\n\n";
    out << "Copyright (C) 2012-2026 the Tarrow Boot Screen Editor authors. All rights reserved."
        << "\n\n";
    out << "For help with the editor, contact the dealer who sold you your Tarrow marker."
        << "\n";
    out.flush();
    return text;
}
