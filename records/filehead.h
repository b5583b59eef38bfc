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
    // The first `size` bytes of a file opened in a folder, fewer only at its end; -1 on an error.
    // When the folder's files are not in the system's cache, they are read straight from the
    // device, one sector (or `size` rounded up to sectors) instead of the block the system
    // caches: a third to a fifth of the bytes on the instrument's slow link. Where the file
    // system or the device refuses that, the bytes are read through the cache as read() does.
    // Nothing else may be read from the file afterwards.
    qint64 readStart(char *buffer, qint64 size);
    // Reads exactly `size` bytes at the current position, fewer only at the end of the file;
    // -1 on an error.
    qint64 read(char *buffer, qint64 size);

private:
    qint64 readDirect(char *buffer, qint64 size);

    Outcome result = Outcome::Failed; // set while `handle` is initialised, so declared before it
    qintptr handle;                   // a descriptor, or a Windows HANDLE
    const FileFolder *folder = nullptr;
    bool unbuffered = false; // Windows: opened past the cache, for readStart only
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

    // How FileHead::readStart reads: Auto goes straight to the device when the folder's files
    // are not cached (looked at now and then, as loading on caches them as it goes only when
    // read through the cache); Direct and Cached force one way, to compare them.
    enum class Reads { Auto, Direct, Cached };
    void setReads(Reads reads) { mode = reads; }

private:
    friend class FileHead;
    bool readsDirect(qintptr file) const;

    QString path;   // Windows
    qintptr handle; // a directory descriptor, or -1
    Reads mode = Reads::Auto;
    mutable bool direct = false;
    mutable bool refused = false; // the folder's file system or device refused a direct read
    mutable int sinceLook = 0;    // files read since the cache was last looked at
    int sector = 512;             // Windows: the volume's sector
};

// The names of the regular files of a folder (links to regular files too) whose names end in
// `suffix`, in any case, hidden files left out: what QDir::entryList gives for "*suffix" and
// QDir::Files, unsorted. On Linux the directory's own entry types spare a stat per file.
QStringList regularFileNames(const QString &directory, const QString &suffix);

#endif // FILEHEAD_H
