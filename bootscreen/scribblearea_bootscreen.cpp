// The canvas's boot screen operations: packing the cells into the screen buffer, writing and
// reading boot screen files, and painting the screen buffer back onto the cells.

#include "scribblearea.h"

#include "canvasgeometry.h"
#include "displaypicture.h"
#include "gridimage.h"
#include "screenfile.h"

void ScribbleArea::packScreen()
{
    screen = bootscreen::packPicture(gridimage::cellsOf(image));
}

bool ScribbleArea::writeBootScreen(const QString &fileName)
{
    if (zoomed) {
        zoomed = false;
        update();
    }
    packScreen();
    QString reason;
    if (!screenfile::saveScreenFile(fileName, screen, &reason))
        return failWith(reason);
    return true;
}

bool ScribbleArea::readBootScreen(const QString &fileName)
{
    QString reason;
    if (!screenfile::readScreenFile(fileName, screen, &reason))
        return failWith(reason);
    return true;
}

void ScribbleArea::unpackScreen()
{
    // An import before the first layout must still land on the picture the user will see.
    if (!image.rect().contains(QRect(QPoint(0, 0), canvasgeometry::GridSize)))
        growImage(&image, image.size().expandedTo(canvasgeometry::CanvasSize));
    gridimage::paintCellInteriors(image, bootscreen::unpackPicture(screen));
    modified = false;
    update();
}
