#include "scribblearea.h"

#include "canvasgeometry.h"
#include "cellline.h"
#include "cellpainting.h"

#include <QMouseEvent>
#include <QPainter>

using namespace canvasgeometry;

namespace {

// The cell a snapped corner falls in. Corners are multiples of the cell size, negative ones
// included, so the division is exact and the cell's own corner is the snapped one.
geometry::Point cellOfCorner(const QPoint &corner)
{
    return {corner.x() / CellSize, corner.y() / CellSize};
}

bool isGridCell(const geometry::Point &cell)
{
    return cell.x >= 0 && cell.x < DisplayColumns && cell.y >= 0 && cell.y < DisplayRows;
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
    const geometry::Point previousCell = cellOfCorner(lastPoint);
    const bool accepted = snapToCell(event->position().toPoint());
    const geometry::Point endCell = cellOfCorner(lastPoint);
    bool painted = false;
    for (const geometry::Point &cell : cellline::cellsOnLine(previousCell, endCell)) {
        // The end keeps the rule of a single position: a corner a little past the left or top
        // edge still counts, though nothing of its cell is on the image.
        if (cell == endCell ? !accepted : !isGridCell(cell))
            continue;
        paintCell(QPoint(cell.x, cell.y) * CellSize);
        painted = true;
    }
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
