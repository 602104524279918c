#include "document/design/FitToPicture.h"

#include "document/model/CRichChild.h"
#include "images/CxImage.h"

namespace tvl {

bool FitToPicture(const CRichChild& item, int& width, int& height)
{
    if (!item.image || !item.image->IsValid())
        return false;
    const int pictureWidth = item.image->Width();
    const int pictureHeight = item.image->Height();
    if (pictureWidth <= 0 || pictureHeight <= 0 || pictureWidth / pictureHeight > 500 ||
        pictureHeight / pictureWidth > 500)
        return false;
    double w = width;
    double h = height;
    // W / H against w / h, cross-multiplied so that a box of zero height divides nothing by zero.
    const double pictureWider = static_cast<double>(pictureWidth) * h;
    const double boxWider = static_cast<double>(pictureHeight) * w;
    if (pictureWider > boxWider)
        h = pictureHeight * w / pictureWidth;
    else if (pictureWider < boxWider)
        w = pictureWidth * h / pictureHeight;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

} // namespace tvl
