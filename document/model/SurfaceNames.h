#pragma once

#include <QStringView>

namespace tvl {

// The four label surfaces, in the order their off-screen bitmaps and exports number them.
enum SurfaceIndex
{
    FrontSurface = 0,
    BackSurface = 1,
    Disc1Surface = 2,
    Disc2Surface = 3,
};

inline constexpr int kSurfaceCount = 4;

// Surface names (the "Cover" items) and the guide areas inside them (the "Boundary" items).
inline constexpr QStringView kFrontCover = u"Front Cover";
inline constexpr QStringView kFrontInside = u"Front Cover (Inside)";
inline constexpr QStringView kBackCover = u"Back Cover";
inline constexpr QStringView kLeftTab = u"Left Tab";
inline constexpr QStringView kRightTab = u"Right Tab";
inline constexpr QStringView kDisc1 = u"Disc 1";
inline constexpr QStringView kDisc2 = u"Disc 2";

inline QStringView SurfaceName(int index)
{
    switch (index) {
    case FrontSurface:
        return kFrontCover;
    case BackSurface:
        return kBackCover;
    case Disc1Surface:
        return kDisc1;
    default:
        return kDisc2;
    }
}

// Index of a surface name, or -1.
inline int SurfaceIndexOf(QStringView name)
{
    for (int i = 0; i < kSurfaceCount; ++i) {
        if (SurfaceName(i) == name)
            return i;
    }
    return -1;
}

inline bool IsDiscSurfaceName(QStringView name)
{
    return name == kDisc1 || name == kDisc2;
}

} // namespace tvl
