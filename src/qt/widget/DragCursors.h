#pragma once

// The program's two drag cursors: "DragCur1" shows that a dragged selection moves,
// "DragCur2" that it is copied. Drawn once, in code, as small bitmaps.

#include <QCursor>

namespace zentabo {

// index 1: "DragCur1" (move), 2: "DragCur2" (copy).
const QCursor& DragCursor(int index);

}  // namespace zentabo
