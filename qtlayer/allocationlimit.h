#pragma once

#include <QSize>

// Qt's image reader refuses pictures whose pixels would take more memory than its allocation
// limit. Judging a size before decoding or converting lets a caller refuse it with a reason,
// without allocating first.
namespace allocationlimit {

// Whether an image of `size` at `bitsPerPixel` stays within Qt's limit as it is now, by the
// core's rule (imagelimit); every size does when the limit is off.
bool fits(const QSize &size, int bitsPerPixel);

// The limit in megabytes, for messages; 0 when it is off.
int megabytes();

} // namespace allocationlimit
