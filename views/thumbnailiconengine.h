#ifndef THUMBNAILICONENGINE_H
#define THUMBNAILICONENGINE_H

#include <QIconEngine>
#include <QPixmap>
#include <QSize>
#include <QString>

class QIcon;

// An icon made from a picture file that reads nothing until it is first painted, decodes the
// picture straight at the size it is drawn at and keeps only that small pixmap. It draws what
// QIcon(path) draws: the picture scaled to fit, aspect ratio kept, centred in the rectangle.
class ThumbnailIconEngine : public QIconEngine
{
public:
    explicit ThumbnailIconEngine(const QString &path);

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QIconEngine *clone() const override;
    QString key() const override;

    bool hasReadFile() const { return sizeKnown; }

private:
    QSize pictureSize();
    QPixmap scaledPixmap(const QSize &size);

    QString path;
    QSize sourceSize;     // the picture's declared size, read on first use
    bool sizeKnown = false;
    QPixmap cached;       // the one small pixmap kept
};

QIcon thumbnailIcon(const QString &path);

#endif // THUMBNAILICONENGINE_H
