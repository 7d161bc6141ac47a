#pragma once

#include <QString>
#include <QVector>

// A user session as a list of steps. Each step carries its own seed, from which the runner
// draws the step's details (positions, answers, file contents) when it plays it, so a prefix
// of a plan is itself a plan and replays exactly.
struct SessionStep
{
    enum Kind {
        Click,
        Drag,
        StrayButtons,
        TogglePen,
        ZoomIn,
        NormalSize,
        Invert,
        AllOn,
        AllOff,
        Export,
        Import,
        SaveBitmap,
        OpenBitmap,
        Close,
        CheckScreen,
    };
    Kind kind;
    quint32 seed;
};

QVector<SessionStep> planSession(quint32 seed, int steps);
QString kindName(SessionStep::Kind kind);
