#include "cellpainting.h"

#include "canvasgeometry.h"

#include <QBrush>
#include <QPainter>

QPen cellPen(const QColor &colour)
{
    return QPen(QBrush(colour, Qt::SolidPattern), 0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
}

void fillCellInterior(QPainter &painter, const QPoint &interiorTopLeft)
{
    const int left = interiorTopLeft.x();
    const int right = left + canvasgeometry::InteriorSize - 1;
    for (int dy = 0; dy < canvasgeometry::InteriorSize; ++dy) {
        const int y = interiorTopLeft.y() + dy;
        painter.drawLine(left, y, right, y);
    }
}
