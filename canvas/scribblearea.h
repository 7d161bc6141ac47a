#pragma once

#include "canvasframecache.h"
#include "screenbuffer.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QString>
#include <QWidget>

class QMouseEvent;
class QPaintEvent;
class QResizeEvent;

// The drawing surface: a 1-bit picture of the 32 x 128 display, drawn as a grid
// of 5 x 5 cells at scale 1 or 3, edited a cell at a time with the mouse.
class ScribbleArea : public QWidget
{
    Q_OBJECT

public:
    explicit ScribbleArea(QWidget *parent = nullptr);

    void setPenOn(bool on);
    bool isModified() const { return modified; }
    bool isZoomed() const { return zoomed; }

    static void growImage(QImage *image, const QSize &newSize);

    // Bitmap files: the 160 x 640 grid area out, any decodable image in.
    bool saveBitmap(const QString &fileName, const char *fileFormat);
    bool loadBitmap(const QString &fileName);

    // Boot screen files (implemented beside the file format).
    void packScreen();
    bool writeBootScreen(const QString &fileName);
    bool readBootScreen(const QString &fileName);
    void unpackScreen();

    // Why the last failed file operation failed, for the user.
    QString errorString() const { return lastError; }

    const QImage &canvasImage() const { return image; }
    const bootscreen::ScreenBuffer &screenBuffer() const { return screen; }

public slots:
    void invertImage();
    void clearImage();
    void fillImage();
    void zoomIn();
    void normalSize();
    void scrollBarMoved();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // Fills one cell interior in the pen colour; the caller marks the change, once per event.
    void paintCell(const QPoint &corner);
    bool snapToCell(const QPoint &position);
    void markChanged();
    bool failWith(const QString &reason);

    bootscreen::ScreenBuffer screen{};
    bool modified = false;
    bool scribbling = false;
    bool penOff = false; // never read, yet it is the pen state; painting reads the colour below
    QColor penColor = Qt::color0;
    QImage image;
    QPoint lastPoint;
    bool zoomed = false;
    QString lastError;
    CanvasFrameCache frames;
};
