#pragma once

#include <QColor>
#include <QPen>
#include <QPoint>

class QPainter;

// The one pen used for everything painted into the canvas image and for the cell
// outlines: cosmetic (one device pixel at any scale), square caps so a line covers
// both of its end points.
QPen cellPen(const QColor &colour);

// Fills a cell's 4 x 4 interior, given its top-left pixel, as four horizontal lines
// with the painter's current pen.
void fillCellInterior(QPainter &painter, const QPoint &interiorTopLeft);
