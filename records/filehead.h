#ifndef FILEHEAD_H
#define FILEHEAD_H

#include <QtGlobal>

class QString;

// A regular file opened for reading its first bytes only. The system is told that the reads are
// not sequential, so a read of a header costs the one block it lies in rather than the readahead
// of the whole file: on the instrument's slow link that is most of a card's loading time.
// Anything that is not a regular file (directory, pipe, device) is refused, checked on the
// opened descriptor so that no path lookup is spent on it.
class FileHead
{
public:
    explicit FileHead(const QString &path);
    ~FileHead();
    FileHead(const FileHead &) = delete;
    FileHead &operator=(const FileHead &) = delete;

    bool isOpen() const;
    // Reads exactly `size` bytes at the current position, fewer only at the end of the file;
    // -1 on an error.
    qint64 read(char *buffer, qint64 size);

private:
    qintptr handle; // a descriptor, or a Windows HANDLE
};

#endif // FILEHEAD_H
