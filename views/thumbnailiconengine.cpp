#include "thumbnailiconengine.h"

#include <QApplication>
#include <QCache>
#include <QIcon>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QWidget>

#include "records/ascanpicture.h"

namespace {

// The size of the last picture a thumbnail read (GUI thread only); until one is read, the
// instrument's screen, which is what its A-scans show.
QSize lastPictureSize(240, 320);
bool decodingHeld = false;
quint64 lastCacheKey = 0;
int decodes = 0;

// Room for a few hundred thumbnails: more than any screen shows at once, so the visible ones
// never evict each other and scrolling back a little decodes nothing.
QCache<quint64, QPixmap> &pixmapCache()
{
    static QCache<quint64, QPixmap> cache(8 * 1024 * 1024);
    return cache;
}

} // namespace

ThumbnailIconEngine::ThumbnailIconEngine(const QString &path, bool assumeSharedSize)
    : path(path)
    , assumeSharedSize(assumeSharedSize)
    , cacheKey(++lastCacheKey)
{
}

ThumbnailIconEngine::~ThumbnailIconEngine()
{
    pixmapCache().remove(cacheKey);
}

// The picture decoded straight at the size it fits `box` in.
QPixmap ThumbnailIconEngine::readPicture(const QSize &box)
{
    fileRead = true;
    sourceSize = QSize();
    QSize declared;
    const QImage image = readAscanPicture(path, box, &declared);
    if (image.isNull())
        return QPixmap();
    sourceSize = declared;
    lastPictureSize = declared;
    return QPixmap::fromImage(image);
}

QPixmap ThumbnailIconEngine::decoded(const QSize &box)
{
    ++decodes;
    const QPixmap pm = readPicture(box);
    if (!pm.isNull())
        pixmapCache().insert(cacheKey, new QPixmap(pm), pm.width() * pm.height() * pm.depth() / 8);
    return pm;
}

QSize ThumbnailIconEngine::actualSize(const QSize &size, QIcon::Mode, QIcon::State)
{
    if (!fileRead) {
        if (assumeSharedSize && lastPictureSize.isValid())
            return fittedSize(lastPictureSize, size);
        decoded(size);
    }
    return fittedSize(sourceSize, size);
}

QList<QSize> ThumbnailIconEngine::availableSizes(QIcon::Mode mode, QIcon::State state) const
{
    if (mode != QIcon::Normal || state != QIcon::Off || !sourceSize.isValid())
        return {};
    return {sourceSize};
}

QPixmap ThumbnailIconEngine::pixmap(const QSize &size, QIcon::Mode mode, QIcon::State)
{
    QPixmap pm = fileRead ? QPixmap() : decoded(size);
    const QSize target = fittedSize(sourceSize, size);
    if (target.isEmpty())
        return QPixmap();
    if (pm.size() != target) {
        // Evicted, or drawn at another size: decode again rather than scale a small one up.
        const QPixmap *kept = pixmapCache().object(cacheKey);
        pm = kept && kept->size() == target ? *kept : decoded(size);
    }
    if (pm.isNull() || mode == QIcon::Normal)
        return pm;
    // Selected and disabled looks come from the style, as for any pixmap icon.
    QStyleOption option(0);
    option.palette = QApplication::palette();
    const QPixmap generated = QApplication::style()->generatedIconPixmap(mode, pm, &option);
    return generated.isNull() ? pm : generated;
}

void ThumbnailIconEngine::holdDecoding(bool hold)
{
    decodingHeld = hold;
}

bool ThumbnailIconEngine::isDecodingHeld()
{
    return decodingHeld;
}

int ThumbnailIconEngine::setCacheLimit(int bytes)
{
    const int former = pixmapCache().maxCost();
    pixmapCache().setMaxCost(bytes);
    return former;
}

int ThumbnailIconEngine::decodeCount()
{
    return decodes;
}

int ThumbnailIconEngine::cacheUsed()
{
    return pixmapCache().totalCost();
}

void ThumbnailIconEngine::paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state)
{
    const bool firstRead = !fileRead;
    if (firstRead && decodingHeld)
        return;
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    const QPixmap pm = pixmap(rect.size() * ratio, mode, state);
    // The rectangle was laid out for an assumed size that this picture turned out not to have:
    // draw it now where it fits, and have the widget ask again for a rectangle of the real size.
    if (firstRead && assumeSharedSize && !pm.isNull() && pm.size() != rect.size() * ratio) {
        if (painter->device() && painter->device()->devType() == QInternal::Widget)
            static_cast<QWidget *>(painter->device())->update();
    }
    if (pm.isNull())
        return;
    const QSize drawn = pm.size() / ratio;
    const QRect target(rect.x() + (rect.width() - drawn.width()) / 2,
                       rect.y() + (rect.height() - drawn.height()) / 2, drawn.width(), drawn.height());
    painter->drawPixmap(target, pm);
}

QIconEngine *ThumbnailIconEngine::clone() const
{
    return new ThumbnailIconEngine(*this);
}

QString ThumbnailIconEngine::key() const
{
    return QStringLiteral("ScanletThumbnail");
}

QIcon thumbnailIcon(const QString &path)
{
    return QIcon(new ThumbnailIconEngine(path));
}

QIcon stripThumbnailIcon(const QString &path)
{
    return QIcon(new ThumbnailIconEngine(path, true));
}
