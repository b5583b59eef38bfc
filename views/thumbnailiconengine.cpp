#include "thumbnailiconengine.h"

#include <QApplication>
#include <QIcon>
#include <QImageReader>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include "views/imagelimits.h"

ThumbnailIconEngine::ThumbnailIconEngine(const QString &path)
    : path(path)
{
}

QSize ThumbnailIconEngine::pictureSize()
{
    if (!sizeKnown) {
        sizeKnown = true;
        QImageReader reader(path);
        const QSize declared = reader.size();
        if (declared.isValid() && hasAcceptableSize(reader))
            sourceSize = declared;
    }
    return sourceSize;
}

QSize ThumbnailIconEngine::actualSize(const QSize &size, QIcon::Mode, QIcon::State)
{
    const QSize source = pictureSize();
    if (source.isEmpty())
        return QSize();
    if (source.width() <= size.width() && source.height() <= size.height())
        return source;
    return source.scaled(size, Qt::KeepAspectRatio);
}

QPixmap ThumbnailIconEngine::scaledPixmap(const QSize &size)
{
    const QSize target = actualSize(size, QIcon::Normal, QIcon::Off);
    if (target.isEmpty())
        return QPixmap();
    if (cached.size() == target)
        return cached;
    QImageReader reader(path);
    if (!hasAcceptableSize(reader))
        return QPixmap();
    reader.setScaledSize(target);
    const QImage image = reader.read();
    cached = image.isNull() ? QPixmap() : QPixmap::fromImage(image);
    return cached;
}

QPixmap ThumbnailIconEngine::pixmap(const QSize &size, QIcon::Mode mode, QIcon::State)
{
    QPixmap pm = scaledPixmap(size);
    if (pm.isNull() || mode == QIcon::Normal)
        return pm;
    // Selected and disabled looks come from the style, as for any pixmap icon.
    QStyleOption option(0);
    option.palette = QApplication::palette();
    const QPixmap generated = QApplication::style()->generatedIconPixmap(mode, pm, &option);
    return generated.isNull() ? pm : generated;
}

void ThumbnailIconEngine::paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state)
{
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    const QPixmap pm = pixmap(rect.size() * ratio, mode, state);
    if (pm.isNull())
        return;
    QSize drawn = pm.size() / ratio;
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
