#ifndef THUMBNAILICONENGINE_H
#define THUMBNAILICONENGINE_H

#include <QCache>
#include <QIconEngine>
#include <QPixmap>
#include <QSize>
#include <QString>

class QIcon;

// An icon made from a picture file that reads nothing until it is first painted and decodes the
// picture straight at the size it is drawn at. It draws what QIcon(path) draws: the picture
// scaled to fit, aspect ratio kept, centred in the rectangle. What the thumbnails read (the small
// pixmap, or that the file cannot be shown) is kept in one cache of bounded size, so a strip
// scrolled through tens of thousands holds only the last ones drawn; a thumbnail evicted from it
// is read again when it is drawn again.
class ThumbnailIconEngine : public QIconEngine
{
public:
    // With assumeSharedSize, the icon reports the size of the last picture any thumbnail read
    // until its own picture is read (see stripThumbnailIcon). The icon keeps what it read in the
    // shared cache under `cacheKey`: a key of its own, dropped with it, when none is given.
    explicit ThumbnailIconEngine(const QString &path, bool assumeSharedSize = false, quint64 cacheKey = 0);
    ~ThumbnailIconEngine() override;

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    // The picture's own size once it has been read; none before, as nothing is held yet.
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) const override;
    QIconEngine *clone() const override;
    QString key() const override;

    // While held, icons whose picture has not been read yet draw nothing: a loading of a card
    // then reads only the files' headers, and the visible thumbnails are read once it is done.
    static void holdDecoding(bool hold);
    static bool isDecodingHeld();

    // A key for the cache that no icon has used, and the dropping of what was kept under one.
    static quint64 newCacheKey();
    static void forget(quint64 cacheKey);
    // The cache's limit and use, in bytes of pixmap data; setCacheLimit returns the former limit.
    static int setCacheLimit(int bytes);
    static int cacheUsed();
    // Pictures decoded so far by all thumbnails.
    static int decodeCount();

private:
    struct Thumbnail;
    static QCache<quint64, Thumbnail> &cache();
    Thumbnail decoded(const QSize &box);
    const Thumbnail *cached() const;

    QString path;
    bool assumeSharedSize;
    bool ownsKey;         // the key is dropped with the icon
    quint64 cacheKey;     // shared with clones: they draw the same file
};

QIcon thumbnailIcon(const QString &path);

// For a strip of pictures that share one size, as the A-scans of one instrument do: the strip
// asks the size of its last item after every insertion, and this icon answers it without
// reading its file. Once painted it reports and draws its own picture's size. The strip makes
// one whenever it asks, under its item's key, so an item holds no icon of its own.
QIcon stripThumbnailIcon(const QString &path, quint64 cacheKey);

#endif // THUMBNAILICONENGINE_H
