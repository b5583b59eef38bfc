#include "ascanbuilder.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

QByteArray jpegClaiming(int width, int height)
{
    QImage small(16, 16, QImage::Format_RGB32);
    small.fill(Qt::gray);
    QByteArray bytes = encodeJpeg(small);
    const int sof = bytes.indexOf(QByteArray("\xFF\xC0", 2));
    const char size[4] = {char(height >> 8), char(height & 0xFF), char(width >> 8), char(width & 0xFF)};
    return sof < 0 ? QByteArray() : bytes.replace(sof + 5, 4, size, 4);
}

QByteArray progressiveJpeg(const QSize &size, int scans, QImage::Format format)
{
    QImage image(size, format);
    image.fill(Qt::gray);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(true);
    if (!buffer.open(QIODevice::WriteOnly) || !writer.write(image) || !bytes.endsWith("\xFF\xD9"))
        return QByteArray();
    // The last scan, header and data up to the end-of-image marker, written again and again.
    const int last = bytes.lastIndexOf(QByteArray("\xFF\xDA", 2));
    const QByteArray scan = bytes.mid(last, bytes.size() - 2 - last);
    for (int have = bytes.count(QByteArray("\xFF\xDA", 2)); have < scans; ++have)
        bytes.insert(bytes.size() - 2, scan);
    return bytes;
}

QByteArray svgInDisguise(const QByteArray &imageHref, int side)
{
    // "<!--", a segment length of "AA", two bytes, the signature and a title, all inside a comment.
    return "<!--AA  Z4170" + QByteArray("Disguised").leftJustified(32, ' ') + " -->\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\""
           + QByteArray::number(side) + "\" height=\"" + QByteArray::number(side) + "\"><image width=\"10\" "
           "height=\"10\" xlink:href=\"" + imageHref + "\"/></svg>\n";
}
