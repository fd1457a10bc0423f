// Window placement and snapping. Sums are formed in 64 bits so that boxes
// far off screen cannot overflow; divisions truncate toward zero.
#include "utils/Placement.h"

#include <cstdlib>

namespace quorvantell::exports {

namespace {

// A box widened to 64 bits for the arithmetic.
struct Box {
    int64_t left, top, width, height;
};

Box Widen(const WindowBox& b)
{
    return {b.left, b.top, b.width, b.height};
}

void Store(const Box& b, WindowBox* out)
{
    out->left = static_cast<int32_t>(b.left);
    out->top = static_cast<int32_t>(b.top);
}

bool Near(int64_t a, int64_t b, int64_t distance)
{
    return std::llabs(a - b) < distance;
}

// Docks w below or above r, then lines up the left or right edges. The
// horizontal pass runs the same code on boxes with the axes swapped.
void DockVertically(Box& w, const Box& r, int64_t d)
{
    if (w.left - d > r.left + r.width || w.left + w.width < r.left - d)
        return;
    if (Near(w.top, r.top + r.height, d))
        w.top = r.top + r.height;
    else if (Near(r.top, w.top + w.height, d))
        w.top = r.top - w.height;
    else
        return;
    if (Near(w.left, r.left, d))
        w.left = r.left;
    else if (Near(w.left + w.width, r.left + r.width, d))
        w.left = r.left + r.width - w.width;
}

Box Transposed(const Box& b)
{
    return {b.top, b.left, b.height, b.width};
}

}  // namespace

void PlaceBesideRect(WindowBox* window, const WindowBox* reference, const AreaRect* area)
{
    Box w = Widen(*window);
    const Box p = Widen(*reference);
    const int64_t areaLeft = area->left, areaTop = area->top, areaRight = area->right, areaBottom = area->bottom;

    if (p.left + p.width + w.width < areaRight) {
        w.left = p.left + p.width;
        w.top = p.top + (p.height - w.height) / 2;
    } else if (p.left - w.width > areaLeft) {
        w.left = p.left - w.width;
        w.top = p.top + (p.height - w.height) / 2;
    } else {
        if (w.left < areaLeft)
            w.left = areaLeft;
        if (w.left + w.width > areaRight)
            w.left = areaRight - w.width;
    }
    if (w.top < areaTop)
        w.top = areaTop;
    else if (w.top + w.height > areaBottom)
        w.top = areaBottom - w.height;
    Store(w, window);
}

void SnapRectToRect(WindowBox* window, const AreaRect* area, int32_t distance)
{
    Box w = Widen(*window);
    const int64_t d = distance;
    if (Near(w.top, area->top, d))
        w.top = area->top;
    else if (Near(int64_t{area->bottom} - w.height, w.top, d))
        w.top = int64_t{area->bottom} - w.height;
    if (Near(w.left, area->left, d))
        w.left = area->left;
    else if (Near(int64_t{area->right} - w.left, w.width, d))
        w.left = int64_t{area->right} - w.width;
    Store(w, window);
}

void SnapRectToEdges(WindowBox* window, const WindowBox* reference, int32_t distance)
{
    Box w = Widen(*window);
    const Box r = Widen(*reference);
    DockVertically(w, r, distance);
    Box swapped = Transposed(w);
    DockVertically(swapped, Transposed(r), distance);
    Store(Transposed(swapped), window);
}

}  // namespace quorvantell::exports
