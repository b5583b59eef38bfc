#include "crespictureframe.h"

#include <QPainter>

#include "records/ascanpicture.h"

CResPictureFrame::CResPictureFrame(QWidget *parent)
    : QFrame(parent, Qt::WindowFlags())
    , image(240, 320, QImage::Format_RGB32)
{
    clearImage();
}

void CResPictureFrame::clearImage()
{
    if (image.format() != QImage::Format_RGB32)
        image = image.convertToFormat(QImage::Format_RGB32);
    image.fill(0xFFFFFFFFu);
}

bool CResPictureFrame::loadImage(const QString &fileName)
{
    const QImage loaded = readAscanPicture(fileName);
    if (loaded.isNull()) {
        clearImage();
        return false;
    }
    image = loaded;
    return true;
}

void CResPictureFrame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QImage scaled = image.copy(QRect()).scaled(width(), height(), Qt::IgnoreAspectRatio,
                                                     Qt::FastTransformation);
    painter.drawImage(QPointF(0.0, 0.0), scaled);
}
