#include "editormodel.h"

#include "bootscreenreader.h"

void EditorModel::paintAt(const QPoint &position)
{
    // Snapping divides with truncation toward zero, so a little past the left or top edge
    // still lands on column or row 0, and further out on a corner of -5 or less.
    const int span = zoomed ? 15 : 5;
    int cornerX = position.x() - position.x() % span;
    int cornerY = position.y() - position.y() % span;
    if (zoomed) {
        cornerX /= 3;
        cornerY /= 3;
    }
    if (cornerX > 159 || cornerY > 639)
        return;
    // A negative corner paints nothing visible, but it counts as a change all the same.
    modified = true;
    if (cornerX >= 0 && cornerY >= 0)
        cells[cornerX / 5][cornerY / 5] = penOn;
}

void EditorModel::leftPress(const QPoint &position)
{
    paintAt(position);
    drawing = true;
}

void EditorModel::leftHeldMove(const QPoint &position)
{
    if (drawing)
        paintAt(position);
}

void EditorModel::invert()
{
    for (auto &column : cells)
        for (bool &cell : column)
            cell = !cell;
    modified = true;
}

void EditorModel::setAll(bool on)
{
    for (auto &column : cells)
        column.fill(on);
    modified = true;
}

void EditorModel::exportPacks()
{
    zoomed = false;
    buffer = reference::pack(cells);
}

bool EditorModel::importFile(const QByteArray &bytes)
{
    bootscreen::ScreenBuffer read = buffer;
    if (reference::readInto(bytes, read, bootscreen::ReadByteCap) == 0)
        return false;
    buffer = read;
    cells = reference::unpack(buffer);
    modified = false;
    return true;
}

void EditorModel::loadPicture(const reference::Cells &picture)
{
    cells = picture;
    modified = false;
}
