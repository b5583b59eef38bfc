#include "imagelimits.h"

#include <QImageReader>

bool hasAcceptableSize(QImageReader &reader)
{
    const QSize size = reader.size();
    if (!size.isValid())
        return true; // the format cannot tell before decoding; let the decoder decide
    return static_cast<long long>(size.width()) * size.height() <= MaxPicturePixels;
}
