#pragma once

#include "referenceformat.h"

#include <QPoint>

// What the editor should be in after each step of a session, kept as plain values: the cell
// states, the pen, the zoom, the modified flag, the drawing flag of a drag and the screen
// buffer (which drawing never resets: an import that skips lines paints old entries).
struct EditorModel
{
    reference::Cells cells{};
    bool penOn = true;
    bool zoomed = false;
    bool modified = false;
    bool drawing = false;
    bootscreen::ScreenBuffer buffer{};
    QPoint lastCorner; // the snapped corner of the drag's last position

    // Mouse handling of the canvas for a position in widget pixels.
    void leftPress(const QPoint &position);
    void leftHeldMove(const QPoint &position);
    void leftRelease() { drawing = false; }

    void invert();
    void setAll(bool on);

    // An export resets the zoom and packs the buffer whether or not the file can be written.
    void exportPacks();
    // An import of a file that opened: the file's lines go into the buffer, then the buffer is
    // painted. A file from which no line is taken is refused and changes nothing; returns
    // whether the file was taken.
    bool importFile(const QByteArray &bytes);
    void loadPicture(const reference::Cells &picture);

private:
    QPoint snap(const QPoint &position) const;
    // A position's own cell, by the rule of a single click.
    void paintCorner(const QPoint &corner);
};
