#pragma once

#include <QList>
#include <QString>

class QIODevice;

// How a boot screen file differs from what the editor writes, line by line, and what the
// editor's reader makes of each difference.
namespace lineaudit {

struct Finding
{
    int line;
    QString message;
};

struct Audit
{
    QList<Finding> findings; // empty for a file exactly as the editor writes it
    int takenLines = 0;
};

Audit auditBootScreen(QIODevice &device);

} // namespace lineaudit
