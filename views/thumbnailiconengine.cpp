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
// The bytes an entry takes besides its pixmap (measured: about 140), so that the files that
// cannot be shown, kept as such, count too.
constexpr int EntryCost = 160;

} // namespace

struct ThumbnailIconEngine::Thumbnail
{
    QPixmap pixmap;
    QSize source; // the picture's declared size; invalid when it cannot be shown
};

// Room for a few hundred thumbnails: more than any screen shows at once, so the visible ones
// never evict each other and scrolling back a little decodes nothing.
QCache<quint64, ThumbnailIconEngine::Thumbnail> &ThumbnailIconEngine::cache()
{
    static QCache<quint64, Thumbnail> thumbnails(8 * 1024 * 1024);
    return thumbnails;
}

ThumbnailIconEngine::ThumbnailIconEngine(const QString &path, bool assumeSharedSize, quint64 cacheKey)
    : path(path)
    , assumeSharedSize(assumeSharedSize)
    , ownsKey(cacheKey == 0)
    , cacheKey(cacheKey ? cacheKey : newCacheKey())
{
}

ThumbnailIconEngine::~ThumbnailIconEngine()
{
    if (ownsKey)
        forget(cacheKey);
}

const ThumbnailIconEngine::Thumbnail *ThumbnailIconEngine::cached() const
{
    return cache().object(cacheKey);
}

// The picture decoded straight at the size it fits `box` in, kept in the cache.
ThumbnailIconEngine::Thumbnail ThumbnailIconEngine::decoded(const QSize &box)
{
    ++decodes;
    Thumbnail read;
    QSize declared;
    const QImage image = readAscanPicture(path, box, &declared);
    if (!image.isNull()) {
        read = {QPixmap::fromImage(image), declared};
        lastPictureSize = declared;
    }
    const QPixmap &pm = read.pixmap;
    cache().insert(cacheKey, new Thumbnail(read),
                                       EntryCost + pm.width() * pm.height() * pm.depth() / 8);
    return read;
}

QSize ThumbnailIconEngine::actualSize(const QSize &size, QIcon::Mode, QIcon::State)
{
    if (const Thumbnail *kept = cached())
        return fittedSize(kept->source, size);
    if (assumeSharedSize && lastPictureSize.isValid())
        return fittedSize(lastPictureSize, size);
    return fittedSize(decoded(size).source, size);
}

QList<QSize> ThumbnailIconEngine::availableSizes(QIcon::Mode mode, QIcon::State state) const
{
    const Thumbnail *kept = cached();
    if (mode != QIcon::Normal || state != QIcon::Off || !kept || !kept->source.isValid())
        return {};
    return {kept->source};
}

QPixmap ThumbnailIconEngine::pixmap(const QSize &size, QIcon::Mode mode, QIcon::State)
{
    const Thumbnail *kept = cached();
    Thumbnail thumbnail = kept ? *kept : decoded(size);
    const QSize target = fittedSize(thumbnail.source, size);
    if (target.isEmpty())
        return QPixmap();
    // Drawn at another size: decode again rather than scale a small one up.
    if (thumbnail.pixmap.size() != target)
        thumbnail = decoded(size);
    const QPixmap pm = thumbnail.pixmap;
    if (pm.isNull() || mode == QIcon::Normal)
        return pm;
    // Selected and disabled looks come from the style, as for any pixmap icon.
    QStyleOption option(0);
    option.palette = QApplication::palette();
    const QPixmap generated = QApplication::style()->generatedIconPixmap(mode, pm, &option);
    return generated.isNull() ? pm : generated;
}

quint64 ThumbnailIconEngine::newCacheKey()
{
    return ++lastCacheKey;
}

void ThumbnailIconEngine::forget(quint64 cacheKey)
{
    cache().remove(cacheKey);
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
    const int former = cache().maxCost();
    cache().setMaxCost(bytes);
    return former;
}

int ThumbnailIconEngine::decodeCount()
{
    return decodes;
}

int ThumbnailIconEngine::cacheUsed()
{
    return cache().totalCost();
}

void ThumbnailIconEngine::paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state)
{
    const bool firstRead = !cached();
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

QIcon stripThumbnailIcon(const QString &path, quint64 cacheKey)
{
    return QIcon(new ThumbnailIconEngine(path, true, cacheKey));
}
