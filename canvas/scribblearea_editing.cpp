#include "scribblearea.h"

#include "canvasgeometry.h"
#include "cellpainting.h"

#include <QMouseEvent>
#include <QPainter>

using namespace canvasgeometry;

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
    if (snapToCell(event->position().toPoint()))
        paintCell(lastPoint);
    scribbling = true;
}

void ScribbleArea::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton) || !scribbling)
        return;
    if (snapToCell(event->position().toPoint()))
        paintCell(lastPoint);
}

void ScribbleArea::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && scribbling)
        scribbling = false;
}

void ScribbleArea::paintCell(const QPoint &corner)
{
    if (!image.isNull()) {
        frames.paintCell(image, corner, [this, &corner](QImage &target) {
            QPainter painter(&target);
            painter.setPen(cellPen(penColor));
            fillCellInterior(painter, corner + QPoint(1, 1));
        });
    }
    markChanged();
}
