#ifndef CRESPICTUREFRAME_H
#define CRESPICTUREFRAME_H

#include <QFrame>
#include <QImage>

// Shows one picture stretched over the whole widget.
class CResPictureFrame : public QFrame
{
    Q_OBJECT

public:
    explicit CResPictureFrame(QWidget *parent = nullptr);

    void clearImage();
    bool loadImage(const QString &fileName);
    const QImage &currentImage() const { return image; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage image;
};

#endif // CRESPICTUREFRAME_H
