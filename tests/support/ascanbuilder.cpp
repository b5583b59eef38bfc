#include "ascanbuilder.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>

#include <cmath>

namespace {

void put8(QByteArray &b, int offset, quint8 v) { b[offset] = char(v); }

void put16(QByteArray &b, int offset, quint16 v)
{
    b[offset] = char(v & 0xFF);
    b[offset + 1] = char(v >> 8);
}

void put24(QByteArray &b, int offset, quint32 v)
{
    b[offset] = char(v & 0xFF);
    b[offset + 1] = char((v >> 8) & 0xFF);
    b[offset + 2] = char((v >> 16) & 0xFF);
}

void putBytes(QByteArray &b, int offset, const QByteArray &bytes, int width)
{
    for (int i = 0; i < width && i < bytes.size(); ++i)
        b[offset + i] = bytes.at(i);
}

void putSettings(QByteArray &b, const AscanFields &s)
{
    const int o = AscanLayout::Settings;
    putBytes(b, o, s.configurationName, 32);
    put8(b, o + 119, s.strobeSwitch);
    put8(b, o + 120, s.cursorSwitch);
    put8(b, o + 121, s.discreteness);
    put8(b, o + 122, s.scaleMode);
    put8(b, o + 123, s.unitSystem);
    put8(b, o + 133, s.referenceSwitch);
    put16(b, o + 134, quint16(s.referenceLevel));
    put16(b, o + 138, quint16(s.examinationMonitor));
    put16(b, o + 140, quint16(s.reportingLevel));
    put16(b, o + 142, quint16(s.correctionRoughness));
    put16(b, o + 144, quint16(s.correctionStandard));
    put16(b, o + 148, quint16(s.velocityMetric));
    put16(b, o + 150, quint16(s.velocityImperial));
    put24(b, o + 152, s.thicknessMm);
    put24(b, o + 155, s.thicknessInch);
    put8(b, o + 158, s.thicknessSwitch);
    put8(b, o + 160, s.probeType);
    put8(b, o + 161, s.frequencyIndex);
    put16(b, o + 162, s.probeAngle);
    put16(b, o + 164, quint16(s.delay));
    put16(b, o + 166, quint16(s.xMetric));
    put16(b, o + 168, quint16(s.xImperial));
}

void putDateTime(QByteArray &b, const AscanFields &s)
{
    const int o = AscanLayout::DateTime;
    put16(b, o, s.time[0]);
    put16(b, o + 2, s.time[1]);
    put16(b, o + 4, s.date[0]);
    put16(b, o + 6, s.date[1]);
    put16(b, o + 8, s.yearSince1900);
}

} // namespace

QByteArray encodeJpeg(const QImage &image, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", quality);
    return bytes;
}

QByteArray jpegClaiming(int width, int height)
{
    QImage small(16, 16, QImage::Format_RGB32);
    small.fill(Qt::gray);
    QByteArray bytes = encodeJpeg(small);
    const int sof = bytes.indexOf(QByteArray("\xFF\xC0", 2));
    const char size[4] = {char(height >> 8), char(height & 0xFF), char(width >> 8), char(width & 0xFF)};
    return sof < 0 ? QByteArray() : bytes.replace(sof + 5, 4, size, 4);
}

QByteArray progressiveJpeg(const QSize &size, int scans)
{
    QImage image(size, QImage::Format_Grayscale8);
    image.fill(128);
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

QByteArray buildAscan(const AscanFields &s)
{
    QByteArray b(AscanLayout::HeaderEnd, '\0');
    putBytes(b, 0, s.soi, 2);
    putBytes(b, 2, s.marker, 2);
    b[4] = char((s.segmentLength >> 8) & 0xFF);
    b[5] = char(s.segmentLength & 0xFF);
    putBytes(b, 8, s.signature, 5);
    putBytes(b, AscanLayout::Title, s.title, 32);
    putSettings(b, s);
    putDateTime(b, s);
    // A segment longer than the blocks is padded, so the picture still starts behind it.
    if (4 + s.segmentLength > b.size())
        b.append(QByteArray(4 + s.segmentLength - b.size(), '\0'));
    if (s.appendPicture) {
        const QImage picture = s.picture.isNull() ? instrumentScreen(1, QString()) : s.picture;
        b.append(encodeJpeg(picture).mid(2));
    }
    if (s.truncateAt >= 0)
        b.truncate(s.truncateAt);
    return b;
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool writeAscan(const QString &path, const AscanFields &ascan)
{
    return writeBytes(path, buildAscan(ascan));
}

QImage instrumentScreen(int seed, const QString &readout)
{
    const int width = 240;
    const int height = 320;
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(12, 22, 34));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    QRandomGenerator random(quint32(seed) * 2654435761u + 17u);

    // Screen area of the trace, with a dotted grid.
    const QRect plot(14, 40, 216, 220);
    p.setPen(QPen(QColor(60, 80, 96), 1, Qt::DotLine));
    for (int i = 0; i <= 10; ++i) {
        const int x = plot.left() + i * plot.width() / 10;
        p.drawLine(x, plot.top(), x, plot.bottom());
    }
    for (int i = 0; i <= 8; ++i) {
        const int y = plot.top() + i * plot.height() / 8;
        p.drawLine(plot.left(), y, plot.right(), y);
    }

    // A-scan trace: initial pulse, one or two echoes and grass.
    const double echo1 = 0.35 + 0.4 * random.generateDouble();
    const double echo2 = echo1 + 0.15 + 0.2 * random.generateDouble();
    const double amp1 = 0.5 + 0.45 * random.generateDouble();
    const double amp2 = 0.2 + 0.4 * random.generateDouble();
    QPainterPath trace;
    for (int x = 0; x < plot.width(); ++x) {
        const double t = double(x) / plot.width();
        double a = 0.95 * std::exp(-std::pow((t - 0.03) / 0.02, 2));
        a += amp1 * std::exp(-std::pow((t - echo1) / 0.012, 2));
        a += amp2 * std::exp(-std::pow((t - echo2) / 0.015, 2));
        a += 0.04 * random.generateDouble();
        const double y = plot.bottom() - qMin(a, 1.0) * plot.height();
        if (x == 0)
            trace.moveTo(plot.left() + x, y);
        else
            trace.lineTo(plot.left() + x, y);
    }
    p.setPen(QPen(QColor(255, 214, 64), 1.4));
    p.drawPath(trace);

    // Gates: A (red) over the first echo, B (green) further out.
    const auto gate = [&](double start, double end, double level, const QColor &colour) {
        p.setPen(QPen(colour, 2));
        const int y = int(plot.bottom() - level * plot.height());
        p.drawLine(int(plot.left() + start * plot.width()), y, int(plot.left() + end * plot.width()), y);
    };
    gate(echo1 - 0.08, echo1 + 0.08, 0.3 + 0.2 * random.generateDouble(), QColor(230, 70, 60));
    gate(echo2 - 0.06, qMin(0.98, echo2 + 0.1), 0.15 + 0.1 * random.generateDouble(), QColor(80, 200, 120));

    // Readouts above and below the trace.
    p.setPen(QColor(220, 230, 240));
    QFont font = p.font();
    font.setPixelSize(13);
    p.setFont(font);
    const QString top = readout.isEmpty()
        ? QStringLiteral("H %1  L %2  dB %3")
              .arg(2.0 + 40 * echo1, 0, 'f', 1)
              .arg(10.0 + 60 * echo1, 0, 'f', 1)
              .arg(-6.0 + 12 * amp1, 0, 'f', 1)
        : readout;
    p.drawText(QRect(6, 8, width - 12, 24), Qt::AlignLeft | Qt::AlignVCenter, top);
    p.setPen(QColor(140, 170, 190));
    p.drawText(QRect(6, 270, width - 12, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Ky 42 dB   T 0.7 us   a 45.0"));
    p.drawText(QRect(6, 292, width - 12, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("A: %1   B: %2").arg(echo1 * 100, 0, 'f', 1).arg(echo2 * 100, 0, 'f', 1));
    p.end();
    return image;
}
