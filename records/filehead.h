#ifndef FILEHEAD_H
#define FILEHEAD_H

#include <QString>
#include <QStringList>

class FileFolder;

// A regular file opened for reading its first bytes only. The system is told that the reads are
// not sequential, so a read of a header costs the one block it lies in rather than the readahead
// of the whole file: on the instrument's slow link that is most of a card's loading time.
// Anything that is not a regular file (directory, pipe, device) is refused, checked on the
// opened descriptor so that no path lookup is spent on it.
class FileHead
{
public:
    explicit FileHead(const QString &path);
    FileHead(const FileFolder &folder, const QString &name);
    ~FileHead();
    FileHead(const FileHead &) = delete;
    FileHead &operator=(const FileHead &) = delete;

    // Why a file is not open: told by the open itself and the descriptor, nothing else asked.
    enum class Outcome { Opened, Missing, Directory, NotRegular, Denied, Failed };
    Outcome outcome() const;
    bool isOpen() const;
    // Reads exactly `size` bytes at the current position, fewer only at the end of the file;
    // -1 on an error.
    qint64 read(char *buffer, qint64 size);

private:
    Outcome result = Outcome::Failed; // set while `handle` is initialised, so declared before it
    qintptr handle;                   // a descriptor, or a Windows HANDLE
};

// A folder opened once, so that each of its files is opened by name without the system walking
// the folder's path again: a loading opens thousands of files of one folder. Where folders
// cannot be opened so (Windows), files are opened by their whole path.
class FileFolder
{
public:
    explicit FileFolder(const QString &path);
    ~FileFolder();
    FileFolder(const FileFolder &) = delete;
    FileFolder &operator=(const FileFolder &) = delete;

private:
    friend class FileHead;
    QString path;   // Windows
    qintptr handle; // a directory descriptor, or -1
};

// The names of the regular files of a folder (links to regular files too) whose names end in
// `suffix`, in any case, hidden files left out: what QDir::entryList gives for "*suffix" and
// QDir::Files, unsorted. On Linux the directory's own entry types spare a stat per file.
QStringList regularFileNames(const QString &directory, const QString &suffix);

#endif // FILEHEAD_H
