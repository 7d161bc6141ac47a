#include "editormodel.h"

#include "bootscreenreader.h"

QPoint EditorModel::snap(const QPoint &position) const
{
    // Snapping divides with truncation toward zero, so a little past the left or top edge
    // still lands on column or row 0, and further out on a corner of -5 or less.
    const int span = zoomed ? 15 : 5;
    QPoint corner(position.x() - position.x() % span, position.y() - position.y() % span);
    return zoomed ? QPoint(corner.x() / 3, corner.y() / 3) : corner;
}

void EditorModel::paintCorner(const QPoint &corner)
{
    if (corner.x() > 159 || corner.y() > 639)
        return;
    // A negative corner paints nothing visible, but it counts as a change all the same.
    modified = true;
    if (corner.x() >= 0 && corner.y() >= 0)
        cells[corner.x() / 5][corner.y() / 5] = penOn;
}

void EditorModel::leftPress(const QPoint &position)
{
    lastCorner = snap(position);
    paintCorner(lastCorner);
    drawing = true;
}

// A move paints the cells on the line from the last position's cell to this one's: at each
// step along the longer axis, the cell across it that lies nearest to the line, a tie going to
// the start's side. The end is this position's own cell; the others count inside the grid only.
void EditorModel::leftHeldMove(const QPoint &position)
{
    if (!drawing)
        return;
    const QPoint corner = snap(position);
    // Corners are multiples of 5, so these divisions are exact, negative ones too.
    const QPoint from(lastCorner.x() / 5, lastCorner.y() / 5);
    const QPoint to(corner.x() / 5, corner.y() / 5);
    lastCorner = corner;
    const QPoint delta = to - from;
    const int steps = qMax(qAbs(delta.x()), qAbs(delta.y()));
    const auto nearest = [steps](int distance, int step) {
        const int offset = (2 * step * qAbs(distance) + steps - 1) / (2 * steps);
        return distance < 0 ? -offset : offset;
    };
    for (int step = 0; step < steps; ++step) {
        const QPoint cell = from + QPoint(nearest(delta.x(), step), nearest(delta.y(), step));
        if (cell.x() >= 0 && cell.x() < reference::Columns && cell.y() >= 0 &&
            cell.y() < reference::Rows) {
            cells[cell.x()][cell.y()] = penOn;
            modified = true;
        }
    }
    paintCorner(corner);
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
