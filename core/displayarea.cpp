#include "displayarea.h"

namespace displayarea {

bool isOnDisplay(const geometry::Rect &area)
{
    return area.width > 0 && area.height > 0 && geometry::intersected(area, WholeDisplay) == area;
}

bootscreen::DisplayPicture composed(const bootscreen::DisplayPicture &base,
                                    const bootscreen::DisplayPicture &part,
                                    const geometry::Rect &area, bool invert)
{
    const bootscreen::DisplayPicture source = invert ? part.inverted() : part;
    bootscreen::DisplayPicture result = base;
    const geometry::Rect inside = geometry::intersected(area, WholeDisplay);
    for (int row = inside.top; row <= inside.bottom(); ++row) {
        for (int column = inside.left; column <= inside.right(); ++column)
            result.setLit(column, row, source.isLit(column, row));
    }
    return result;
}

} // namespace displayarea
