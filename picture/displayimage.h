#pragma once

#include "displaypicture.h"

#include <QImage>

// The display picture as an ordinary image: one pixel per display pixel, or a square of
// scale x scale, lit white and dark black, in a 1-bit image.
QImage displayImage(const bootscreen::DisplayPicture &picture, int scale = 1);
