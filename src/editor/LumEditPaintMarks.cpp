// The marks drawn into a row or segment (full-width and single-byte spaces, tabs), the
// clipped line primitives they use, and the URL and tag runs.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "editor/LumEdit.h"
#include "editor/LumEditPaintRuns.h"
#include "editor/TextCells.h"
#include "store/LumEditSub.h"

namespace zentabo {

namespace {

// The points of a line from (x1, y1) towards (x2, y2), the end point left out, as the
// platform's line stepping visits them.
template <typename Visit>
void StepLine(int x1, int y1, int x2, int y2, Visit&& visit) {
    const int dx = std::abs(x2 - x1);
    const int dy = std::abs(y2 - y1);
    const int sx = x2 > x1 ? 1 : -1;
    const int sy = y2 > y1 ? 1 : -1;
    const int steps = std::max(dx, dy);
    int x = x1, y = y1;
    int err = 0;
    for (int i = 0; i < steps; ++i) {
        visit(x, y);
        if (dx >= dy) {
            x += sx;
            err += 2 * dy;
            if (err > dx) {
                y += sy;
                err -= 2 * dx;
            }
        } else {
            y += sy;
            err += 2 * dx;
            if (err > dy) {
                x += sx;
                err -= 2 * dy;
            }
        }
    }
}

bool Inside(const Rect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

}  // namespace

void TLumEdit::ClippedLine(int x1, int y1, int x2, int y2, TColor pen, const Rect& clip) {
    if (clip.left >= clip.right || clip.top >= clip.bottom) return;
    Canvas& canvas = host_.GetCanvas();
    if (Inside(clip, x1, y1) && Inside(clip, x2, y2)) {
        canvas.Line(x1, y1, x2, y2, pen);
        return;
    }
    if (std::max(x1, x2) < clip.left || std::min(x1, x2) >= clip.right ||
        std::max(y1, y2) < clip.top || std::min(y1, y2) >= clip.bottom)
        return;
    StepLine(x1, y1, x2, y2, [&](int x, int y) {
        if (Inside(clip, x, y)) canvas.SetPixel(x, y, pen);
    });
}

void TLumEdit::DrawDottedBox(int x1, int y1, int x2, int y2, TColor pen, const Rect& clip) {
    const int left = std::min(x1, x2), right = std::max(x1, x2);
    const int top = std::min(y1, y2), bottom = std::max(y1, y2);
    if (right < clip.left || left >= clip.right || bottom < clip.top || top >= clip.bottom) return;
    const bool whole = Inside(clip, left, top) && Inside(clip, right, bottom);
    Canvas& canvas = host_.GetCanvas();
    // Dash 1, gap 1: every second point, from the first, the count running on around
    // the corners. The sides are straight, so the set points are stepped to directly.
    int count = 0;
    auto side = [&](int xa, int ya, int xb, int yb) {
        const int sx = (xb > xa) - (xb < xa);
        const int sy = (yb > ya) - (yb < ya);
        const int steps = std::max(std::abs(xb - xa), std::abs(yb - ya));
        for (int k = count % 2; k < steps; k += 2) {
            const int x = xa + sx * k, y = ya + sy * k;
            if (whole || Inside(clip, x, y)) canvas.SetPixel(x, y, pen);
        }
        count += steps;
    };
    side(x2, y1, x2, y2);
    side(x2, y2, x1, y2);
    side(x1, y2, x1, y1);
    side(x1, y1, x2, y1);
}

void TLumEdit::DrawMarks(std::string_view text, int x0, const std::vector<TabMark>& tabs,
                         int fromCol, int toCol, const Rect& r, bool selected) {
    const TColor pen = selected ? (CREOFcolor ^ 0xFFFFFF) & 0xFFFFFF : CREOFcolor;
    const int y = r.top;
    const int rowOrigin = textLeft_ - horzOffset_;
    const bool dbl = ShowDblSpace && !SingleByteMode;
    // Widths are summed only up to the last byte that can carry a mark.
    size_t limit = 0;
    if (dbl) {
        const size_t p = text.rfind("\x81\x40");
        if (p != std::string_view::npos) limit = p + 2;
    }
    if (ShowSglSpace) {
        const size_t p = text.rfind(' ');
        if (p != std::string_view::npos) limit = std::max(limit, p + 1);
    }
    if (limit > 0) {
        int64_t x = x0;
        const size_t n = text.size();
        for (size_t i = 0; i < limit;) {
            const bool pair =
                !SingleByteMode && IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < n;
            const size_t len = pair ? 2 : 1;
            const int64_t xr = x + host_.TextWidth(text.substr(i, len));
            if (x > r.right) break;
            if (pair && dbl && text[i] == '\x81' && text[i + 1] == '\x40' && xr >= r.left) {
                const int right = static_cast<int>(xr);
                DrawDottedBox(right - dblSpaceWidth_ + 2, y + 2, right - 2, y + dblSpaceHeight_ - 2,
                              pen, r);
            } else if (!pair && ShowSglSpace && text[i] == ' ' && xr >= r.left) {
                const int right = static_cast<int>(xr);
                const int left = right - spaceWidth_ + 1;
                const int rel = left - rowOrigin;
                const bool inTab = std::any_of(tabs.begin(), tabs.end(), [&](const TabMark& t) {
                    return t.start < rel && rel < t.start + t.width;
                });
                if (!inTab) DrawDottedBox(left, y + 2, right - 1, y + dblSpaceHeight_ - 2, pen, r);
            }
            x = xr;
            i += len;
        }
    }
    if (!ShowTAB) return;
    const int ym = y + dblSpaceHeight_ / 2;
    for (const TabMark& t : tabs) {
        if (t.col < fromCol || t.col >= toCol) continue;
        const int xs = t.start - horzOffset_ + textLeft_;
        if (xs > r.right) break;
        const int xt = xs + spaceWidth_ - 1;
        if (xt + 1 < r.left) continue;
        ClippedLine(xs + 1, ym, xt, ym, pen, r);
        ClippedLine(xt, ym, xt - 3, ym - 3, pen, r);
        ClippedLine(xt, ym, xt - 3, ym + 3, pen, r);
    }
}

void TLumEdit::DrawNulMarks(const ExpandedLine& ex, size_t from, size_t to, int x0, const Rect& r,
                            bool selected) {
    if (ex.nuls.empty()) return;
    const TColor pen = selected ? CREOFcolor ^ 0xFFFFFF : CREOFcolor;
    const int top = r.top + 2, bottom = r.top + dblSpaceHeight_ - 2;
    int64_t x = x0;
    size_t at = from;
    for (size_t p : ex.nuls) {
        if (p < from) continue;
        if (p >= to) break;
        x += host_.TextWidth(std::string_view(ex.text).substr(at, p - at));
        at = p;
        if (x > r.right) break;
        const int left = static_cast<int>(x) + 1;
        const int right = static_cast<int>(x) + std::max(3, spaceWidth_) - 2;
        if (right < r.left) continue;
        // Solid, unlike the dotted marks of blanks.
        ClippedLine(left, top, right, top, pen, r);
        ClippedLine(right, top, right, bottom, pen, r);
        ClippedLine(right, bottom, left, bottom, pen, r);
        ClippedLine(left, bottom, left, top, pen, r);
    }
}

void TLumEdit::DrawRuns(int line, std::string_view raw, int x0, const Rect& r) {
    if (!ColorPrintF) return;
    const int start = LogicalStart(line);
    auto nextPiece = [&](int j) -> std::string_view {
        // Only a wrapped piece goes on in the next display line.
        if (EndsLine(j)) return {};
        const std::string_view n = lines_.Get(j + 1);
        return std::string_view(n.data(), std::min(ContentLength(j + 1), 7));
    };
    std::vector<TextRun> runs;
    OpenRun open = OpenRun::None;
    int j = start;
    if (runCacheLine_ > start && runCacheLine_ <= line) {
        j = runCacheLine_;
        open = static_cast<OpenRun>(runCacheOpen_);
    }
    for (; j < line; ++j) {
        const std::string_view s = lines_.Get(j);
        open = ScanRuns(std::string_view(s.data(), ContentLength(j)), nextPiece(j), open,
                        ShowHTMLTagColor, SingleByteMode, runs);
        runs.clear();
    }
    open = ScanRuns(raw, nextPiece(line), open, ShowHTMLTagColor, SingleByteMode, runs);
    const bool endsLogical = EndsLine(line);
    runCacheLine_ = line + 1;
    runCacheOpen_ = static_cast<unsigned char>(endsLogical ? OpenRun::None : open);
    if (runs.empty()) return;

    Canvas& canvas = host_.GetCanvas();
    // Without a TAB or NUL the expanded text is the text itself: no copies per run.
    const bool hasTab = NeedsExpanding(raw);
    std::string head, upTo;
    for (const TextRun& run : runs) {
        std::string_view headView = raw.substr(0, run.start);
        std::string_view body = raw.substr(run.start, run.end - run.start);
        if (hasTab) {
            head = ExpandTabs(headView);
            upTo = ExpandTabs(raw.substr(0, run.end));
            headView = head;
            body = std::string_view(upTo).substr(head.size());
        }
        const int64_t xs = int64_t{x0} + host_.TextWidth(headView);
        if (xs > r.right) break;
        const int64_t xe = xs + host_.TextWidth(body);
        const Rect clip{static_cast<int>(std::max<int64_t>(r.left, xs)), r.top,
                        static_cast<int>(std::min<int64_t>(r.right, xe)), r.bottom};
        if (clip.left >= clip.right) continue;
        canvas.TextOut(static_cast<int>(xs), r.top, clip, body, URLColor, Color, true,
                       run.underline ? kStyleUnderline : kStyleNone);
    }
}

}  // namespace zentabo
