#include "ascanfile.h"

#include <cstring>

#include "records/ascansettings.h"
#include "records/filehead.h"

/*
    A-scan file, as far as it is read (offsets from the start of the file):
      0    2  FF D8, not examined
      2    2  segment marker, not examined
      4    2  segment length L, big-endian (counts itself and the payload)
      6    2  not examined
      8    5  model signature "Z4170"
     13   32  title, text field
    578  171  SettingsBlock
    749   10  DateTimeBlock
*/

namespace {

int segmentLength(const char *header)
{
    return (uchar(header[4]) << 8) | uchar(header[5]);
}

// Decodes the L bytes that follow the 6-byte header. `afterHeader` starts at file offset 6.
int decodeRecord(const char *afterHeader, AscanSettings &settings)
{
    settings.title = textField32(afterHeader + 7);
    const auto *bytes = reinterpret_cast<const uchar *>(afterHeader);
    if (decodeSettings(bytes + 572, settings) != 0)
        decodeDateTime(bytes + 743, settings);
    return Ascan::SettingsBlockSize;
}

QString titleFromHeader(const char *first45)
{
    if (!isModelSignature(first45 + 8))
        return QString();
    return textField32(first45 + 13);
}

// Length of a UTF-8 sequence that is valid so far but cut by the end of `text`, else 0.
int incompleteTail(const char *text, int size)
{
    for (int length = 1; length <= 3 && length <= size; ++length) {
        const uchar lead = uchar(text[size - length]);
        if (lead >= 0x80 && lead <= 0xBF)
            continue; // continuation byte: the lead lies further back
        const int needed = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                         : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
        if (needed <= length)
            return 0; // a complete character, or a byte that starts none
        if (length >= 2) {
            // The second byte's range excludes overlong forms, surrogates and values past U+10FFFF.
            const uchar second = uchar(text[size - length + 1]);
            const uchar low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
            const uchar high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
            if (second < low || second > high)
                return 0;
        }
        return length;
    }
    return 0;
}

} // namespace

bool isModelSignature(const char *bytes)
{
    return std::memcmp(bytes, "Z4170", 5) == 0;
}

void copyText32(char *destination, const char *source)
{
    std::memcpy(destination, source, Ascan::TextFieldSize);
    if (std::memchr(destination, 0, Ascan::TextFieldSize) == nullptr)
        destination[Ascan::TextFieldSize - 1] = 0;
}

QString textField32(const char *field)
{
    char buffer[Ascan::TextFieldSize];
    copyText32(buffer, field);
    // A field whose only NUL is byte 31 still yields its first 31 bytes.
    buffer[Ascan::TextFieldSize - 1] = 0;
    const int size = int(std::strlen(buffer));
    // The instrument cuts long texts at byte 31, often inside a character. Such a cut
    // character is one U+FFFD, as standard UTF-8 decoders make it; Qt 5 would make one
    // per byte left.
    const int cut = size - incompleteTail(buffer, size);
    if (cut == size)
        return QString::fromUtf8(buffer, size);
    return QString::fromUtf8(buffer, cut) + QChar(QChar::ReplacementCharacter);
}

QString titleFromBytes(const QByteArray &data)
{
    if (data.size() < Ascan::TitleEnd || segmentLength(data.constData()) <= 6)
        return QString();
    return titleFromHeader(data.constData());
}

int recordFromBytes(const QByteArray &data, AscanSettings &settings)
{
    if (data.size() < Ascan::HeaderSize)
        return 0;
    const int length = segmentLength(data.constData());
    if (length < Ascan::MinRecordLength || data.size() - Ascan::HeaderSize < length)
        return 0;
    return decodeRecord(data.constData() + Ascan::HeaderSize, settings);
}

namespace {

// One read: a segment too short for a title is told by titleFromBytes, and the few bytes past
// it lie in the sector or block read anyway.
QString titleOf(FileHead &&file)
{
    char header[Ascan::TitleEnd];
    if (file.readStart(header, Ascan::TitleEnd) != Ascan::TitleEnd)
        return QString();
    return titleFromBytes(QByteArray::fromRawData(header, Ascan::TitleEnd));
}

} // namespace

QString readTitle(const QString &path)
{
    return titleOf(FileHead(path));
}

QString readTitle(const FileFolder &folder, const QString &name)
{
    return titleOf(FileHead(folder, name));
}

int readRecord(const QString &path, AscanSettings &settings)
{
    FileHead file(path);
    char header[Ascan::HeaderSize];
    if (file.read(header, Ascan::HeaderSize) != Ascan::HeaderSize)
        return 0;
    const int length = segmentLength(header);
    if (length < Ascan::MinRecordLength)
        return 0;
    QByteArray payload(length, Qt::Uninitialized);
    if (file.read(payload.data(), length) != length)
        return 0;
    return decodeRecord(payload.constData(), settings);
}

QByteArray readRecordBytes(const QString &path)
{
    FileHead file(path);
    return readRecordBytes(file);
}

QByteArray readRecordBytes(FileHead &file)
{
    QByteArray data(Ascan::HeadBlock, Qt::Uninitialized);
    const qint64 got = file.read(data.data(), data.size());
    if (got < Ascan::HeaderSize)
        return QByteArray();
    data.resize(int(got));
    const int end = Ascan::HeaderSize + segmentLength(data.constData());
    if (got == Ascan::HeadBlock && end > got) {
        data.resize(end);
        const qint64 more = file.read(data.data() + got, end - got);
        data.resize(int(got + qMax<qint64>(more, 0)));
    }
    return data;
}
