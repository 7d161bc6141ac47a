#pragma once

#include "scribblearea.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>

// Reaching the editor the way a user does: commands through the menu bar by their text,
// and the canvas inside the window's scroll area. Header-only, for tests that link the app.

// The menu command with this text (ampersands included), or null.
inline QAction *menuCommand(QMainWindow &window, const QString &text)
{
    const QList<QAction *> menus = window.menuBar()->actions();
    for (QAction *menuEntry : menus) {
        if (!menuEntry->menu())
            continue;
        const QList<QAction *> actions = menuEntry->menu()->actions();
        for (QAction *action : actions) {
            if (!action->isSeparator() && action->text() == text)
                return action;
        }
    }
    return nullptr;
}

inline ScribbleArea *canvasOf(QMainWindow &window)
{
    auto *scrollArea = qobject_cast<QScrollArea *>(window.centralWidget());
    return scrollArea ? qobject_cast<ScribbleArea *>(scrollArea->widget()) : nullptr;
}

// Chooses the menu command with this text; false when the menus have no such command.
inline bool chooseMenuCommand(QMainWindow &window, const QString &text)
{
    QAction *action = menuCommand(window, text);
    if (!action)
        return false;
    action->trigger();
    return true;
}
