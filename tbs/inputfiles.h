#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

// The files a run reads, known by identity rather than by spelling, so that an output that
// would replace one of them is caught however it is named (another path, a link).
class InputFiles
{
public:
    explicit InputFiles(const QStringList &inputs);

    // The input that writing `output` would replace; nothing for a new file or standard output.
    std::optional<QString> replacedBy(const QString &output) const;

private:
    QHash<QString, QString> inputByIdentity;
};
