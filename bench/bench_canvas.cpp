// Medians for the canvas widget: one full repaint at scale 1 and 3, rendered into an image of
// the widget's whole size and into a 250 x 460 viewport, and the handling of drag events.
// The plain drawing (the 1-bit image converted and 4,096 outlines stroked on every paint) is
// measured beside it, as that is what the cached frames replace; the repaints after a
// whole-canvas command show the cost of composing a frame afresh.

#include "benchstats.h"

#include "canvasgeometry.h"
#include "canvasrendering.h"
#include "scribblearea.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QRandomGenerator>

#include <cstdio>

using namespace canvasgeometry;

static void sendMouse(ScribbleArea &canvas, QEvent::Type type, const QPoint &position,
                      Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(position), QPointF(canvas.mapToGlobal(position)), button,
                      buttons, Qt::NoModifier);
    QApplication::sendEvent(&canvas, &event);
}

static void drawRandomCells(ScribbleArea &canvas, quint32 seed)
{
    QRandomGenerator random(seed);
    for (int column = 0; column < DisplayColumns; ++column) {
        for (int row = 0; row < DisplayRows; ++row) {
            if (random.bounded(2) == 0)
                continue;
            const QPoint position = cellCorner(column, row) + QPoint(2, 2);
            sendMouse(canvas, QEvent::MouseButtonPress, position, Qt::LeftButton, Qt::LeftButton);
            sendMouse(canvas, QEvent::MouseButtonRelease, position, Qt::LeftButton, Qt::NoButton);
        }
    }
}

static void benchRepaints(ScribbleArea &canvas, const char *scaleName, double goalMicroseconds)
{
    QImage whole(CanvasSize, QImage::Format_ARGB32_Premultiplied);
    QImage viewport(QSize(250, 460), QImage::Format_ARGB32_Premultiplied);
    const QRegion viewportRegion(QRect(0, 0, 250, 460));
    char label[96];
    std::snprintf(label, sizeof label, "repaint %s, whole widget 510 x 2022", scaleName);
    reportMedian(
        label, 200, [&] { canvas.render(&whole); }, goalMicroseconds);
    std::snprintf(label, sizeof label, "repaint %s, 250 x 460 viewport", scaleName);
    reportMedian(
        label, 200, [&] { canvas.render(&viewport, QPoint(), viewportRegion); }, goalMicroseconds);
    // A whole-canvas command leaves no cached frame valid: the repaint composes one afresh.
    std::snprintf(label, sizeof label, "repaint after invert %s (invert + repaint)", scaleName);
    reportMedian(
        label, 100,
        [&] {
            canvas.invertImage();
            canvas.render(&whole);
        },
        goalMicroseconds);
    // All Pixels On itself, without a repaint: its 674 lines on the 1-bit image.
    std::snprintf(label, sizeof label, "  All Pixels On command alone %s", scaleName);
    reportMedian(label, 30, [&] { canvas.clearImage(); });
    std::snprintf(label, sizeof label, "  plain drawing %s, whole widget (for comparison)",
                  scaleName);
    const int scale = canvas.isZoomed() ? ZoomFactor : 1;
    reportMedian(label, 30, [&] {
        QPainter painter(&whole);
        canvasrendering::paintCanvas(painter, canvas.canvasImage(), scale,
                                     canvasrendering::allCells());
    });
}

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    // Set up as the main window sets up its canvas.
    ScribbleArea canvas;
    canvas.setAttribute(Qt::WA_OpaquePaintEvent);
    canvas.resize(CanvasSize);
    canvas.show();
    const quint32 seed = 20240611;
    std::printf("canvas with random cells, seed %u\n", seed);
    drawRandomCells(canvas, seed);

    benchRepaints(canvas, "at scale 1", 1000.0);
    canvas.zoomIn();
    benchRepaints(canvas, "at scale 3", 2000.0);
    canvas.normalSize();
    drawRandomCells(canvas, seed); // the commands above left a uniform picture

    // A drag that sweeps back and forth across the whole grid; every move paints a cell.
    for (const bool zoomed : {false, true}) {
        if (zoomed)
            canvas.zoomIn();
        QImage frame(CanvasSize, QImage::Format_ARGB32_Premultiplied);
        canvas.render(&frame); // the frames exist, as they do on screen during a drag
        const int scale = zoomed ? ZoomFactor : 1;
        sendMouse(canvas, QEvent::MouseButtonPress, QPoint(1, 1), Qt::LeftButton, Qt::LeftButton);
        int step = 0;
        const char *label = zoomed ? "drag event at scale 3 (one of 1,000 moves)"
                                   : "drag event at scale 1 (one of 1,000 moves)";
        reportMedian(
            label, 1000,
            [&] {
                const int cell = step++ % (DisplayColumns * DisplayRows);
                const QPoint position(((cell % DisplayColumns) * CellSize + 2) * scale,
                                      ((cell / DisplayColumns) * CellSize + 2) * scale);
                sendMouse(canvas, QEvent::MouseMove, position, Qt::NoButton, Qt::LeftButton);
            },
            1000.0);
        sendMouse(canvas, QEvent::MouseButtonRelease, QPoint(1, 1), Qt::LeftButton, Qt::NoButton);
    }
    return 0;
}
