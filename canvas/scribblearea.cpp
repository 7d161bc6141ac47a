#include "scribblearea.h"

#include "canvasgeometry.h"
#include "canvasrendering.h"
#include "gridimage.h"

#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

using namespace canvasgeometry;

ScribbleArea::ScribbleArea(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_StaticContents);
}

void ScribbleArea::setPenOn(bool on)
{
    penOff = !on;
    penColor = on ? Qt::color0 : Qt::color1;
}

void ScribbleArea::growImage(QImage *image, const QSize &newSize)
{
    gridimage::growImage(image, newSize);
}

void ScribbleArea::zoomIn()
{
    zoomed = true;
    update();
}

void ScribbleArea::normalSize()
{
    zoomed = false;
    update();
}

void ScribbleArea::scrollBarMoved()
{
    update();
}

void ScribbleArea::markChanged()
{
    modified = true;
    update();
}

void ScribbleArea::resizeEvent(QResizeEvent *event)
{
    if (width() > image.width() || height() > image.height()) {
        growImage(&image, CanvasSize);
        update();
    }
    QWidget::resizeEvent(event);
}

void ScribbleArea::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const int scale = zoomed ? ZoomFactor : 1;
    if (!frames.draw(painter, event->rect(), image, scale, size()))
        canvasrendering::paintCanvas(painter, image, scale, canvasrendering::allCells());
}
