#ifndef THUMBNAILICONENGINE_H
#define THUMBNAILICONENGINE_H

#include <QIconEngine>
#include <QPixmap>
#include <QSize>
#include <QString>

class QIcon;

// An icon made from a picture file that reads nothing until it is first painted and decodes the
// picture straight at the size it is drawn at. It draws what QIcon(path) draws: the picture
// scaled to fit, aspect ratio kept, centred in the rectangle. The small pixmaps of all thumbnails
// share one cache of bounded size, so a strip scrolled through tens of thousands holds only the
// last ones drawn; a thumbnail evicted from it is decoded again when it is drawn again.
class ThumbnailIconEngine : public QIconEngine
{
public:
    // With assumeSharedSize, the icon reports the size of the last picture any thumbnail read
    // until its own picture is read (see stripThumbnailIcon).
    explicit ThumbnailIconEngine(const QString &path, bool assumeSharedSize = false);
    ~ThumbnailIconEngine() override;

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    // The picture's own size once it has been read; none before, as nothing is held yet.
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) const override;
    QIconEngine *clone() const override;
    QString key() const override;

    bool hasReadFile() const { return fileRead; }

    // While held, icons whose picture has not been read yet draw nothing: a loading of a card
    // then reads only the files' headers, and the visible thumbnails are read once it is done.
    static void holdDecoding(bool hold);
    static bool isDecodingHeld();

    // The cache's limit and use, in bytes of pixmap data; setCacheLimit returns the former limit.
    static int setCacheLimit(int bytes);
    static int cacheUsed();
    // Pictures decoded so far by all thumbnails.
    static int decodeCount();

private:
    QPixmap readPicture(const QSize &box);
    QPixmap decoded(const QSize &box);

    QString path;
    bool assumeSharedSize;
    bool fileRead = false;
    QSize sourceSize;     // the picture's declared size; invalid when it cannot be shown
    quint64 cacheKey;     // shared with clones: they draw the same file
};

QIcon thumbnailIcon(const QString &path);

// For a strip of pictures that share one size, as the A-scans of one instrument do: the strip
// asks the size of its last item after every insertion, and this icon answers it without
// reading its file. Once painted it reports and draws its own picture's size.
QIcon stripThumbnailIcon(const QString &path);

#endif // THUMBNAILICONENGINE_H
