#ifndef CLISTWIDGETHEIR_H
#define CLISTWIDGETHEIR_H

#include <QListWidget>
#include <QStringList>

class QAction;
class QScrollBar;

// The thumbnail strip: one file path per item, one-item scrolling, narrowed mouse handling.
class CListWidgetHeir : public QListWidget
{
    Q_OBJECT

public:
    explicit CListWidgetHeir(QWidget *parent = nullptr);

    void clearFiles();
    void addFilePath(const QString &path);
    int selectedFiles(QStringList &files) const;   // in the order they were selected
    QStringList selectedFilesInStripOrder() const;
    const QStringList &paths() const { return filePaths; }
    // The context menu's actions, enabled while a file is selected.
    QAction *copySettingsAction() const { return copySettings; }
    QAction *exportSettingsAction() const { return exportSettings; }
    QAction *printPreviewAction() const { return printPreview; }
    QAction *reportDetailsAction() const { return reportDetails; }   // always enabled

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
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    QScrollBar *scrollBar;
    bool mousePressed;
    QPoint pressPos;
    QStringList filePaths;
    QAction *copySettings;
    QAction *exportSettings;
    QAction *printPreview;
    QAction *reportDetails;
};

#endif // CLISTWIDGETHEIR_H
