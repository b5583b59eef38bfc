#include "ascanwriter.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>

#include <cmath>
#include <tuple>

namespace {

// `width` bytes of `v`, little-endian as the instrument writes its numbers.
void putLittle(QByteArray &b, int offset, quint32 v, int width)
{
    for (int i = 0; i < width; ++i)
        b[offset + i] = char((v >> (8 * i)) & 0xFF);
}

void putBytes(QByteArray &b, int offset, const QByteArray &bytes, int width)
{
    for (int i = 0; i < width && i < bytes.size(); ++i)
        b[offset + i] = bytes.at(i);
}

// The settings block and, behind it at 171, the date-time block: offset, width, raw value.
void putSettings(QByteArray &b, const AscanFields &s)
{
    putBytes(b, AscanLayout::Settings, s.configurationName, 32);
    const struct { int offset, width; quint32 value; } fields[] = {
        {119, 1, s.strobeSwitch}, {120, 1, s.cursorSwitch}, {121, 1, s.discreteness}, {122, 1, s.scaleMode},
        {123, 1, s.unitSystem}, {133, 1, s.referenceSwitch}, {134, 2, quint16(s.referenceLevel)},
        {138, 2, quint16(s.examinationMonitor)}, {140, 2, quint16(s.reportingLevel)},
        {142, 2, quint16(s.correctionRoughness)}, {144, 2, quint16(s.correctionStandard)},
        {148, 2, quint16(s.velocityMetric)}, {150, 2, quint16(s.velocityImperial)},
        {152, 3, s.thicknessMm}, {155, 3, s.thicknessInch}, {158, 1, s.thicknessSwitch}, {160, 1, s.probeType},
        {161, 1, s.frequencyIndex}, {162, 2, s.probeAngle}, {164, 2, quint16(s.delay)}, {166, 2, quint16(s.xMetric)},
        {168, 2, quint16(s.xImperial)}, {171, 2, s.time[0]}, {173, 2, s.time[1]}, {175, 2, s.date[0]},
        {177, 2, s.date[1]}, {179, 2, s.yearSince1900}};
    for (const auto &field : fields)
        putLittle(b, AscanLayout::Settings + field.offset, field.value, field.width);
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

QByteArray buildAscan(const AscanFields &s)
{
    QByteArray b(AscanLayout::HeaderEnd, '\0');
    for (const auto &[offset, bytes, width] : {std::tuple(0, s.soi, 2), {2, s.marker, 2}, {8, s.signature, 5},
                                               {AscanLayout::Title, s.title, 32}})
        putBytes(b, offset, bytes, width);
    b[4] = char((s.segmentLength >> 8) & 0xFF); // the segment length alone is big-endian
    b[5] = char(s.segmentLength & 0xFF);
    putSettings(b, s);
    // A segment longer than the blocks is padded, so the picture still starts behind it.
    if (4 + s.segmentLength > b.size())
        b.append(QByteArray(4 + s.segmentLength - b.size(), '\0'));
    if (s.appendPicture)
        b.append(encodeJpeg(s.picture.isNull() ? instrumentScreen(1, QString()) : s.picture).mid(2));
    if (s.truncateAt >= 0)
        b.truncate(s.truncateAt);
    return b;
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool writeAscan(const QString &path, const AscanFields &ascan) { return writeBytes(path, buildAscan(ascan)); }

QImage instrumentScreen(int seed, const QString &readout)
{
    const int width = 240;
    QImage image(width, 320, QImage::Format_RGB32);
    image.fill(QColor(12, 22, 34));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    QRandomGenerator random(quint32(seed) * 2654435761u + 17u);

    // Screen area of the trace, with a dotted grid of 10 x 8 cells.
    const QRect plot(14, 40, 216, 220);
    p.setPen(QPen(QColor(60, 80, 96), 1, Qt::DotLine));
    for (int i = 0; i <= 10; ++i)
        p.drawLine(plot.left() + i * plot.width() / 10, plot.top(), plot.left() + i * plot.width() / 10, plot.bottom());
    for (int i = 0; i <= 8; ++i)
        p.drawLine(plot.left(), plot.top() + i * plot.height() / 8, plot.right(), plot.top() + i * plot.height() / 8);

    // A-scan trace: initial pulse, two echoes and grass.
    const double echo1 = 0.35 + 0.4 * random.generateDouble();
    const double echo2 = echo1 + 0.15 + 0.2 * random.generateDouble();
    const double amp1 = 0.5 + 0.45 * random.generateDouble();
    const double amp2 = 0.2 + 0.4 * random.generateDouble();
    const auto pulse = [](double t, double at, double width) { return std::exp(-std::pow((t - at) / width, 2)); };
    QPainterPath trace;
    for (int x = 0; x < plot.width(); ++x) {
        const double t = double(x) / plot.width();
        const double a = 0.95 * pulse(t, 0.03, 0.02) + amp1 * pulse(t, echo1, 0.012)
                         + amp2 * pulse(t, echo2, 0.015) + 0.04 * random.generateDouble();
        const QPointF point(plot.left() + x, plot.bottom() - qMin(a, 1.0) * plot.height());
        x == 0 ? trace.moveTo(point) : trace.lineTo(point);
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
    const auto text = [&](int y, int height, const QString &line) {
        p.drawText(QRect(6, y, width - 12, height), Qt::AlignLeft | Qt::AlignVCenter, line);
    };
    p.setPen(QColor(220, 230, 240));
    QFont font = p.font();
    font.setPixelSize(13);
    p.setFont(font);
    text(8, 24, readout.isEmpty() ? QStringLiteral("H %1  L %2  dB %3").arg(2.0 + 40 * echo1, 0, 'f', 1)
                                        .arg(10.0 + 60 * echo1, 0, 'f', 1).arg(-6.0 + 12 * amp1, 0, 'f', 1)
                                  : readout);
    p.setPen(QColor(140, 170, 190));
    text(270, 20, QStringLiteral("Ky 42 dB   T 0.7 us   a 45.0"));
    text(292, 20, QStringLiteral("A: %1   B: %2").arg(echo1 * 100, 0, 'f', 1).arg(echo2 * 100, 0, 'f', 1));
    p.end();
    return image;
}
