#include "ascanpicture.h"

#include <QBuffer>
#include <QImageReader>

#include "records/filehead.h"

/*
    A JPEG as walked here:
      FF D8                   start of image
      FF xx  LL LL  payload   a marker segment; LL counts itself and the payload
      FF Cn  LL LL  frame     start of frame: n tells the coding (0-2 Huffman, others refused)
      FF DA  LL LL  Ns ...    start of scan over Ns components, followed by entropy-coded data in
                              which FF is always followed by 00 (a stuffed byte) or D0..D7 (a restart)
      FF D9                   end of image
    Fill bytes (FF FF) may precede any marker.
*/
JpegWork jpegWork(const QByteArray &bytes, int stopAfter)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes.constData());
    const qint64 n = bytes.size();
    JpegWork work;
    if (n < 2 || p[0] != 0xFF || p[1] != 0xD8)
        return {-1, 0};
    int segments = 0; // since the start of the image or the last scan
    qint64 i = 2;
    while (i + 1 < n) {
        if (p[i] != 0xFF) {
            ++i; // entropy-coded data, or stray bytes between segments
            continue;
        }
        const uchar marker = p[i + 1];
        if (marker == 0xFF) {
            ++i;
            continue;
        }
        if (marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            i += 2; // no length follows these
            continue;
        }
        if (marker == 0xD9 || i + 3 >= n)
            break;
        // Lossless, hierarchical and arithmetic coding (and the arithmetic tables) cost the decoder
        // many times a Huffman picture of the same bytes; no instrument writes them.
        if (marker == 0xC3 || (marker >= 0xC5 && marker <= 0xCF))
            return {-1, 0};
        const int limit = work.scans == 0 ? AscanPicture::MaxSegmentsBeforeScan
                                          : AscanPicture::MaxSegmentsBetweenScans;
        if (marker != 0xDA && ++segments > limit)
            return {-1, 0};
        if (marker == 0xC0 || marker == 0xC1 || marker == 0xC2) {
            work.progressive = marker == 0xC2;
            work.frameComponents = i + 9 < n ? p[i + 9] : 0;
        }
        if (marker == 0xDA) {
            if (++work.scans > stopAfter)
                break;
            work.scanComponents += i + 4 < n ? p[i + 4] : 0;
            segments = 0;
        }
        i += 2 + ((p[i + 2] << 8) | p[i + 3]);
    }
    return work;
}

int jpegScanCount(const QByteArray &bytes, int stopAfter)
{
    return jpegWork(bytes, stopAfter).scans;
}

QSize fittedSize(const QSize &source, const QSize &box)
{
    if (source.isEmpty())
        return QSize();
    if (source.width() <= box.width() && source.height() <= box.height())
        return source;
    return source.scaled(box, Qt::KeepAspectRatio);
}

QImage decodeAscanPicture(const QByteArray &bytes, const QSize &box, QSize *declared)
{
    const JpegWork work = jpegWork(bytes);
    if (work.scans < 1 || work.scans > AscanPicture::MaxScans)
        return QImage();
    QByteArray data = bytes;
    QBuffer buffer(&data);
    if (!buffer.open(QIODevice::ReadOnly))
        return QImage();
    QImageReader reader(&buffer, "jpeg");
    reader.setAutoDetectImageFormat(false);
    const QSize size = reader.size();
    const long long pixels = static_cast<long long>(size.width()) * size.height();
    if (!size.isValid() || pixels > AscanPicture::MaxPixels || pixels * work.scanComponents > AscanPicture::MaxScanPixels
        || (work.progressive && pixels * work.frameComponents > AscanPicture::MaxPixels))
        return QImage();
    if (box.isValid()) {
        const QSize target = fittedSize(size, box);
        if (target.isEmpty())
            return QImage();
        reader.setScaledSize(target);
    }
    const QImage image = reader.read();
    if (!image.isNull() && declared)
        *declared = size;
    return image;
}

QImage readAscanPicture(const QString &path, const QSize &box, QSize *declared)
{
    // Opened as the headers are: only a regular file, checked on the open descriptor, so nothing
    // put in its place after a check on the path (a pipe, a device) can block or run on.
    FileHead file(path);
    QByteArray bytes;
    constexpr qint64 Chunk = 64 * 1024;
    for (qint64 got = Chunk; got == Chunk && bytes.size() <= AscanPicture::MaxFileBytes;) {
        const int size = bytes.size();
        bytes.resize(int(size + Chunk));
        got = file.read(bytes.data() + size, Chunk);
        if (got < 0)
            return QImage();
        bytes.resize(int(size + got));
    }
    if (bytes.size() > AscanPicture::MaxFileBytes)
        return QImage();
    return decodeAscanPicture(bytes, box, declared);
}
