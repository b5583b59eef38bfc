#ifndef CLISTWIDGETHEIR_H
#define CLISTWIDGETHEIR_H

#include <QListWidget>
#include <QStringList>

class QScrollBar;

// The thumbnail strip: one file path per item, one-item scrolling, narrowed mouse handling.
class CListWidgetHeir : public QListWidget
{
    Q_OBJECT

public:
    explicit CListWidgetHeir(QWidget *parent = nullptr);

    void clearFiles();
    void addFilePath(const QString &path);
    int selectedFiles(QStringList &files) const;
    const QStringList &paths() const { return filePaths; }

    int scrollValue;

signals:
    void filesSelectionChanged(const QString &filename);

protected slots:
    virtual void slot_btn_shiftRight_clicked();
    virtual void slot_btn_shiftLeft_clicked();
    virtual void slot_itemSelectionChanged();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    QScrollBar *scrollBar;
    bool mousePressed;
    QPoint pressPos;
    QStringList filePaths;
};

#endif // CLISTWIDGETHEIR_H
