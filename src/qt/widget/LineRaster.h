#pragma once

// The pixels of a 1-pixel line from (x1, y1) towards (x2, y2), the end point left out,
// the way the platform's move-to/line-to pair steps it: a following line that starts
// where this one ended then draws each joint exactly once (which XOR drawing needs).

namespace zentabo {

template <typename Plot>
void RasterLine(int x1, int y1, int x2, int y2, Plot&& plot) {
    const int dx = x2 > x1 ? x2 - x1 : x1 - x2;
    const int dy = y2 > y1 ? y2 - y1 : y1 - y2;
    const int sx = x2 > x1 ? 1 : -1;
    const int sy = y2 > y1 ? 1 : -1;
    int x = x1;
    int y = y1;
    if (dx >= dy) {
        // Error doubled so that the midpoint test stays in integers.
        int err = 2 * dy - dx;
        for (int i = 0; i < dx; ++i) {
            plot(x, y);
            if (err > 0 || (err == 0 && sy < 0)) {
                y += sy;
                err -= 2 * dx;
            }
            err += 2 * dy;
            x += sx;
        }
    } else {
        int err = 2 * dx - dy;
        for (int i = 0; i < dy; ++i) {
            plot(x, y);
            if (err > 0 || (err == 0 && sx < 0)) {
                x += sx;
                err -= 2 * dy;
            }
            err += 2 * dx;
            y += sy;
        }
    }
}

}  // namespace zentabo
