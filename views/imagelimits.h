#ifndef IMAGELIMITS_H
#define IMAGELIMITS_H

class QImageReader;

// Pictures larger than this are refused before decoding: a few hundred bytes of JPEG
// can claim a size that takes seconds and gigabytes to decode.
constexpr long long MaxPicturePixels = 64000000LL;

// False when the reader declares a size beyond the limit.
bool hasAcceptableSize(QImageReader &reader);

#endif // IMAGELIMITS_H
