#include "scribblearea.h"

#include "canvasgeometry.h"
#include "cellpainting.h"

#include <QMouseEvent>
#include <QPainter>

#include <cstdlib>

using namespace canvasgeometry;

namespace {

// The cell a snapped corner falls in. Corners are multiples of the cell size, negative ones
// included, so the division is exact and the cell's own corner is the snapped one.
QPoint cellOfCorner(const QPoint &corner)
{
    return {corner.x() / CellSize, corner.y() / CellSize};
}

bool isGridCell(const QPoint &cell)
{
    return cell.x() >= 0 && cell.x() < DisplayColumns && cell.y() >= 0 && cell.y() < DisplayRows;
}

// Bresenham's line from `from` to `to`, both included, one cell per step along the longer
// axis; the other axis moves once the line has passed the middle between two cells, and a
// line exactly on the middle stays on the start's side.
template <typename Visit> void forEachCellOnLine(const QPoint &from, const QPoint &to, Visit visit)
{
    const int dx = std::abs(to.x() - from.x());
    const int dy = std::abs(to.y() - from.y());
    const QPoint xStep(to.x() >= from.x() ? 1 : -1, 0);
    const QPoint yStep(0, to.y() >= from.y() ? 1 : -1);
    const bool alongX = dx >= dy;
    const int major = alongX ? dx : dy;
    const int minor = alongX ? dy : dx;
    const QPoint majorStep = alongX ? xStep : yStep;
    const QPoint minorStep = alongX ? yStep : xStep;
    QPoint cell = from;
    int error = 0; // twice the line's distance past the current cell, in units of `major`
    for (int step = 0; step <= major; ++step) {
        visit(cell);
        error += 2 * minor;
        if (error > major) {
            cell += minorStep;
            error -= 2 * major;
        }
        cell += majorStep;
    }
}

} // namespace

bool ScribbleArea::snapToCell(const QPoint &position)
{
    // The remainder truncates toward zero, so a pointer a few pixels left of or above the
    // canvas still snaps to column or row 0 while dragging.
    const int scale = zoomed ? ZoomFactor : 1;
    const int pointerCell = CellSize * scale;
    lastPoint = position;
    lastPoint.setX((lastPoint.x() - lastPoint.x() % pointerCell) / scale);
    lastPoint.setY((lastPoint.y() - lastPoint.y() % pointerCell) / scale);
    return lastPoint.x() <= GridWidth - 1 && lastPoint.y() <= GridHeight - 1;
}

void ScribbleArea::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (snapToCell(event->position().toPoint())) {
        paintCell(lastPoint);
        markChanged();
    }
    scribbling = true;
}

void ScribbleArea::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton) || !scribbling)
        return;
    // Motion events arrive far apart in a fast drag: every cell the pointer crossed since the
    // last position is painted, not just the one it is over now.
    const QPoint previousCell = cellOfCorner(lastPoint);
    const bool accepted = snapToCell(event->position().toPoint());
    const QPoint endCell = cellOfCorner(lastPoint);
    bool painted = false;
    forEachCellOnLine(previousCell, endCell, [&](const QPoint &cell) {
        // The end keeps the rule of a single position: a corner a little past the left or top
        // edge still counts, though nothing of its cell is on the image.
        if (cell == endCell ? !accepted : !isGridCell(cell))
            return;
        paintCell(cell * CellSize);
        painted = true;
    });
    if (painted)
        markChanged();
}

void ScribbleArea::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && scribbling)
        scribbling = false;
}

void ScribbleArea::paintCell(const QPoint &corner)
{
    if (image.isNull())
        return;
    frames.paintCell(image, corner, [this, &corner](QImage &target) {
        QPainter painter(&target);
        painter.setPen(cellPen(penColor));
        fillCellInterior(painter, corner + QPoint(1, 1));
    });
}
