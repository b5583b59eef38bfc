#ifndef ASCANPICTURE_H
#define ASCANPICTURE_H

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// The instrument's pictures are 240 x 320 baseline JPEGs of about 20 KB. Whatever else a card
// holds is bounded by the work it can cause before it is decoded: a few hundred bytes can claim
// gigabytes of pixels, a progressive JPEG can repeat its scans thousands of times, each pass going
// over every pixel, and the decoder keeps every comment or application segment in a list it walks
// on each addition, so that 100,000 empty ones cost it seconds.
namespace AscanPicture {
constexpr long long MaxPixels = 16000000LL;   // 4000 x 4000; ample for any real picture
// Encoders write at most a dozen or so scans (libjpeg's progressive script writes 10, 6 for
// grey); 100 leaves room for any of them. Each scan is a pass over every pixel of each of its
// components, about 15 ms for 16 million: all scans together may go over at most 8 such
// pictures' worth. A progressive picture is held whole as coefficients, two bytes per pixel and
// component, and gone over by every scan: its pixels times components may be at most MaxPixels
// (a grey 4000 x 4000, a colour picture of 5 million pixels). So one decode stays well under
// half a second: the worst file built within them (a 4000 x 4000 CMYK picture cut at the file
// limit) decodes in 0.33 s on two busy cores.
constexpr int MaxScans = 100;
constexpr long long MaxScanPixels = 8 * MaxPixels;
// The instrument writes fewer than ten segments before its picture's scan; cameras about twenty.
// Progressive encoders write a table or two between scans.
constexpr int MaxSegmentsBeforeScan = 32;
constexpr int MaxSegmentsBetweenScans = 8;
// A 240 x 320 picture of noise at the best quality, colour unreduced, is about 310 KB; the
// instrument's are about 15 KB.
constexpr qint64 MaxFileBytes = 512 * 1024;
const QSize Blank(240, 320);                  // the size a picture that cannot be shown takes
}

// What decoding a JPEG costs, found by walking its segments and skipping the entropy-coded data:
// its frame's components and coding, its scans (start-of-scan markers) and their components
// added up; counting stops past
// `stopAfter` scans. Scans -1: not a JPEG, or one refused before any decoding (a coding other
// than Huffman, or more segments than above before or between scans).
struct JpegWork
{
    int scans = 0;
    int scanComponents = 0;
    int frameComponents = 0;
    bool progressive = false;
};
JpegWork jpegWork(const QByteArray &bytes, int stopAfter = AscanPicture::MaxScans);
int jpegScanCount(const QByteArray &bytes, int stopAfter = AscanPicture::MaxScans);

// `source` scaled to fit `box`, aspect ratio kept, never enlarged; empty for an empty source.
QSize fittedSize(const QSize &source, const QSize &box);

// Decodes a picture as JPEG and nothing else, refused (a null image) beyond the limits above.
// With a valid `box` the picture is decoded straight at the size that fits it. `declared`
// receives the picture's own size when it is decoded.
QImage decodeAscanPicture(const QByteArray &bytes, const QSize &box = QSize(), QSize *declared = nullptr);
// The same for a file; only regular files are read, so a named pipe or a device never blocks.
QImage readAscanPicture(const QString &path, const QSize &box = QSize(), QSize *declared = nullptr);

#endif // ASCANPICTURE_H
