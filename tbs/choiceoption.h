#pragma once

#include "commandparser.h"

#include <QStringList>

#include <utility>
#include <vector>

// Options that take one of a few named values, such as --fit or --align.
template <typename Value> using Choices = std::vector<std::pair<QString, Value>>;

template <typename Value> QStringList choiceNames(const Choices<Value> &choices)
{
    QStringList result;
    for (const auto &choice : choices)
        result << choice.first;
    return result;
}

// The option, its help listing the choices and the default.
template <typename Value>
QCommandLineOption choiceOption(const QString &name, const QString &valueName,
                                const Choices<Value> &choices, const QString &description,
                                const QString &defaultValue)
{
    QStringList list = choiceNames(choices);
    const QString last = list.takeLast();
    return QCommandLineOption(
        name,
        QStringLiteral("%1: %2 or %3 (default %4).")
            .arg(description, list.join(QStringLiteral(", ")), last, defaultValue),
        valueName, defaultValue);
}

// The value given for the option; false, with the problem for the user, when it is none of the
// choices.
template <typename Value>
bool pickChoice(const CommandParser &parser, const QString &name, const Choices<Value> &choices,
                Value *value, QString *problem)
{
    const QString given = parser.options().value(name);
    for (const auto &choice : choices) {
        if (choice.first == given) {
            *value = choice.second;
            return true;
        }
    }
    *problem = QStringLiteral("--%1 takes %2, not '%3'.")
                   .arg(name, choiceNames(choices).join(QStringLiteral(", ")), given);
    return false;
}
