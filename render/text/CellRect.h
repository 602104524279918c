#pragma once

namespace tvl {

// A rectangle in mils with exclusive right and bottom edges; empty when it has no width or no height.
struct CellRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    void Offset(int dx, int dy)
    {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    bool operator==(const CellRect&) const = default;
};

} // namespace tvl
