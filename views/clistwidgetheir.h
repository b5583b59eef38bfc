#ifndef CLISTWIDGETHEIR_H
#define CLISTWIDGETHEIR_H

#include <QIcon>
#include <QListWidget>
#include <QStringList>

class QAction;
class QScrollBar;

// An item of the strip that answers from its own members: its title, the path its thumbnail reads,
// and the thumbnail, made when it is first asked for. A strip of a whole card holds 100,000 of
// them, so nothing else is kept per item. The tooltip shows the whole title and the file's name.
class StripItem : public QListWidgetItem
{
public:
    StripItem(const QString &title, const QString &path);

    QVariant data(int role) const override;
    void setData(int role, const QVariant &value) override;
    QListWidgetItem *clone() const override;

private:
    QString title;
    QString path;
    mutable QIcon icon;
};

// The thumbnail strip: one file path per item, one-item scrolling, narrowed mouse handling.
class CListWidgetHeir : public QListWidget
{
    Q_OBJECT

public:
    explicit CListWidgetHeir(QWidget *parent = nullptr);

    void clearFiles();
    void addFilePath(const QString &path);
    // Appends an item of this title and its file's path, the path held by both at its exact size.
    void addFile(const QString &title, const QString &path);
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
