#include "scribblearea.h"

#include "canvasgeometry.h"
#include "canvasrendering.h"

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
    if (image->size() == newSize)
        return;
    QImage grown(newSize, QImage::Format_Mono);
    if (grown.isNull())
        return; // too large to allocate: the caller sees the size unchanged
    grown.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    grown.fill(0);
    // The painter lands every colour on the nearer of black and white (white exactly when
    // red + green + blue >= 383, after compositing over black), without dithering.
    QPainter painter(&grown);
    painter.drawImage(QPoint(0, 0), *image);
    painter.end();
    *image = grown;
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
