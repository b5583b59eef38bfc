#include "ascanpicture.h"

#include <QBuffer>
#include <QImageReader>

#include "records/filehead.h"

/*
    A JPEG as walked here:
      FF D8                   start of image
      FF xx  LL LL  payload   a marker segment; LL counts itself and the payload
      FF DA  LL LL  header    start of scan, followed by entropy-coded data in which FF is
                              always followed by 00 (a stuffed byte) or D0..D7 (a restart)
      FF D9                   end of image
    Fill bytes (FF FF) may precede any marker.
*/
int jpegScanCount(const QByteArray &bytes, int stopAfter)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes.constData());
    const qint64 n = bytes.size();
    if (n < 2 || p[0] != 0xFF || p[1] != 0xD8)
        return -1;
    int scans = 0;
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
        if (marker == 0xDA && ++scans > stopAfter)
            break;
        i += 2 + ((p[i + 2] << 8) | p[i + 3]);
    }
    return scans;
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
    const int scans = jpegScanCount(bytes);
    if (scans < 1 || scans > AscanPicture::MaxScans)
        return QImage();
    QByteArray data = bytes;
    QBuffer buffer(&data);
    if (!buffer.open(QIODevice::ReadOnly))
        return QImage();
    QImageReader reader(&buffer, "jpeg");
    reader.setAutoDetectImageFormat(false);
    const QSize size = reader.size();
    const long long pixels = static_cast<long long>(size.width()) * size.height();
    if (!size.isValid() || pixels > AscanPicture::MaxPixels || pixels * scans > AscanPicture::MaxScanPixels)
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
