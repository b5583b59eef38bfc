#include "clistwidgetheir.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>
#include "views/thumbnailiconengine.h"

StripItem::StripItem(const QString &title, const QString &folder, const QString &name)
    : title(title)
    , folder(folder)
    , name(name)
    , thumbnailKey(ThumbnailIconEngine::newCacheKey())
{
}

// A copy reads its thumbnail under a key of its own: each drops its key when deleted.
StripItem::StripItem(const StripItem &other)
    : QListWidgetItem(other)
    , title(other.title)
    , folder(other.folder)
    , name(other.name)
    , thumbnailKey(ThumbnailIconEngine::newCacheKey())
{
}

StripItem::~StripItem()
{
    ThumbnailIconEngine::forget(thumbnailKey);
}

QVariant StripItem::data(int role) const
{
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return title;
    case Qt::DecorationRole: {
        const QVariant given = QListWidgetItem::data(role);
        return given.isValid() ? given : QVariant(stripThumbnailIcon(path(), thumbnailKey));
    }
    case Qt::ToolTipRole:
        return title + QLatin1Char('\n') + name;
    default:
        return QListWidgetItem::data(role);
    }
}

// The title is kept in the member the item answers from; the base stores it too and tells the
// strip.
void StripItem::setData(int role, const QVariant &value)
{
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        title = value.toString();
    QListWidgetItem::setData(role, value);
}

QListWidgetItem *StripItem::clone() const
{
    return new StripItem(*this);
}

CListWidgetHeir::CListWidgetHeir(QWidget *parent)
    : QListWidget(parent)
    , scrollValue(0)
    , scrollBar(horizontalScrollBar())
    , mousePressed(false)
    , pressPos(-1, -1)
    , copySettings(new QAction(tr("Copy Settings"), this))
    , exportSettings(new QAction(tr("Export Settings…"), this))
    , printPreview(new QAction(tr("Print Preview…"), this))
    , reportDetails(new QAction(tr("Report Details…"), this))
{
    copySettings->setEnabled(false);
    exportSettings->setEnabled(false);
    printPreview->setEnabled(false);
    connect(this, SIGNAL(itemSelectionChanged()), this, SLOT(slot_itemSelectionChanged()));
}

void CListWidgetHeir::clearFiles()
{
    clear();
    scrollBar->setMaximum(0);
    scrollValue = 0;
}

void CListWidgetHeir::addFile(const QString &title, const QString &folder, const QString &name)
{
    // Appended without a parent: given one, the item would look its own row up among all.
    addItem(new StripItem(title, folder, name));
}

QString CListWidgetHeir::path(int row) const
{
    const auto *file = static_cast<const StripItem *>(item(row));
    return file ? file->path() : QString();
}

QStringList CListWidgetHeir::paths() const
{
    QStringList all;
    all.reserve(count());
    for (int row = 0; row < count(); ++row)
        all.append(path(row));
    return all;
}

int CListWidgetHeir::selectedFiles(QStringList &files) const
{
    const QList<QListWidgetItem *> items = selectedItems();
    for (QListWidgetItem *item : items)
        files.append(path(row(item)));
    return items.size();
}

QStringList CListWidgetHeir::selectedFilesInStripOrder() const
{
    QVector<int> rows;
    for (QListWidgetItem *item : selectedItems())
        rows << row(item);
    std::sort(rows.begin(), rows.end());
    QStringList files;
    for (int at : rows)
        files << path(at);
    return files;
}

void CListWidgetHeir::slot_itemSelectionChanged()
{
    QString filename;
    const QList<QListWidgetItem *> items = selectedItems();
    if (!items.isEmpty())
        filename = path(row(items.first()));
    copySettings->setEnabled(!items.isEmpty());
    exportSettings->setEnabled(!items.isEmpty());
    printPreview->setEnabled(!items.isEmpty());
    emit filesSelectionChanged(filename);
}

void CListWidgetHeir::slot_btn_shiftRight_clicked()
{
    const int x = width() - 2 * frameWidth() - 1;
    const int last = count() - 1;
    QListWidgetItem *edgeItem = itemAt(x, 0);
    int itemRow = edgeItem ? row(edgeItem) : -1;
    const QRect rect = edgeItem ? visualItemRect(edgeItem) : QRect();
    if (rect.right() <= x + 1 && itemRow != last)
        ++itemRow;
    if (QListWidgetItem *target = item(itemRow))
        scrollToItem(target, QAbstractItemView::EnsureVisible);
    if (itemRow == last && scrollValue < scrollBar->maximum())
        scrollBar->setValue(scrollBar->maximum());
}

void CListWidgetHeir::slot_btn_shiftLeft_clicked()
{
    QListWidgetItem *edgeItem = itemAt(0, 0);
    int itemRow = edgeItem ? row(edgeItem) : -1;
    const QRect rect = edgeItem ? visualItemRect(edgeItem) : QRect();
    if (rect.left() >= 0 && itemRow > 0)
        --itemRow;
    if (QListWidgetItem *target = item(itemRow))
        scrollToItem(target, QAbstractItemView::EnsureVisible);
    if (itemRow == 0 && scrollValue > 0)
        scrollBar->setValue(0);
}

void CListWidgetHeir::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || count() == 0)
        return;
    mousePressed = true;
    pressPos = event->pos();
    QAbstractItemView::mousePressEvent(event);
}

void CListWidgetHeir::mouseMoveEvent(QMouseEvent *event)
{
    if (!mousePressed)
        return;
    if (itemAt(pressPos))
        QListView::mouseMoveEvent(event);
    viewport()->update();
}

void CListWidgetHeir::mouseReleaseEvent(QMouseEvent *event)
{
    if (!mousePressed)
        return;
    mousePressed = false;
    if (event->button() == Qt::LeftButton && !itemAt(event->pos())) {
        if (event->pos() == pressPos || !itemAt(pressPos)) {
            viewport()->update();
            return;
        }
    }
    QListView::mouseReleaseEvent(event);
}

// Shown for the right button and the menu key; the press itself changed nothing.
void CListWidgetHeir::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    menu.addAction(copySettings);
    menu.addAction(exportSettings);
    menu.addSeparator();
    menu.addAction(printPreview);
    menu.addAction(reportDetails);
    menu.exec(event->globalPos());
}
