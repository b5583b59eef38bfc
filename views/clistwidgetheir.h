#ifndef CLISTWIDGETHEIR_H
#define CLISTWIDGETHEIR_H

#include <QIcon>
#include <QListWidget>
#include <QStringList>

class QAction;
class QScrollBar;

// An item of the strip that answers from its own members: its title, its file's folder (one
// string that all items of a loading share) and name, and the key its thumbnail is cached under;
// the thumbnail's icon is made whenever it is asked for. A strip of a whole card holds 100,000 of
// them, so nothing else is kept per item. The tooltip shows the whole title and the file's name.
class StripItem : public QListWidgetItem
{
public:
    // `folder` ends in a separator, or is empty.
    StripItem(const QString &title, const QString &folder, const QString &name);
    StripItem(const StripItem &other);
    ~StripItem() override;
    StripItem &operator=(const StripItem &) = delete;

    QString path() const { return folder + name; }
    QVariant data(int role) const override;
    void setData(int role, const QVariant &value) override;
    QListWidgetItem *clone() const override;

private:
    QString title;
    QString folder;
    QString name;
    quint64 thumbnailKey;
};

// The thumbnail strip: one file path per item, one-item scrolling, narrowed mouse handling.
class CListWidgetHeir : public QListWidget
{
    Q_OBJECT

public:
    explicit CListWidgetHeir(QWidget *parent = nullptr);

    void clearFiles();
    // Appends an item of this title for the file `name` in `folder` (which ends in a separator,
    // or is empty when `name` is a whole path): a loading gives all its items one folder string,
    // held once.
    void addFile(const QString &title, const QString &folder, const QString &name);
    int selectedFiles(QStringList &files) const;   // in the order they were selected
    QStringList selectedFilesInStripOrder() const;
    QStringList paths() const;
    QString path(int row) const;
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
    QAction *copySettings;
    QAction *exportSettings;
    QAction *printPreview;
    QAction *reportDetails;
};

#endif // CLISTWIDGETHEIR_H
