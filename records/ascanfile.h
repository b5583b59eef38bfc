#ifndef ASCANFILE_H
#define ASCANFILE_H

#include <QByteArray>
#include <QString>

struct AscanSettings;
class FileFolder;
class FileHead;

namespace Ascan {
constexpr int HeaderSize = 6;          // SOI, segment marker, segment length
constexpr int TitleEnd = 45;           // the title reader needs exactly this many bytes
constexpr int MinRecordLength = 753;   // segment length that reaches the end of the date-time block
constexpr int TextFieldSize = 32;
constexpr int HeadBlock = 4096;        // the system's block: what the device delivers for a header
}

bool isModelSignature(const char *bytes);
void copyText32(char *destination, const char *source);
// The text of one 32-byte field: UTF-8 up to the first NUL, byte 31 never included.
QString textField32(const char *field);

// Readers over bytes: `data` is the beginning of a file (as much of it as there is).
QString titleFromBytes(const QByteArray &data);
int recordFromBytes(const QByteArray &data, AscanSettings &settings);

// Readers over files: regular files only, read unbuffered and only the bytes they need.
QString readTitle(const QString &path);
QString readTitle(const FileFolder &folder, const QString &name);
int readRecord(const QString &path, AscanSettings &settings);
// The beginning of a file with its whole first segment, for both readers over bytes: one open and,
// when the segment fits the first block, one read. Empty when the file cannot be read.
QByteArray readRecordBytes(const QString &path);
QByteArray readRecordBytes(FileHead &file);

#endif // ASCANFILE_H
