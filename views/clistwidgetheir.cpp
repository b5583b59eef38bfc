#include "clistwidgetheir.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>
#include "views/thumbnailiconengine.h"

StripItem::StripItem(const QString &title, const QString &path)
    : title(title)
    , path(path)
{
}

QVariant StripItem::data(int role) const
{
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return title;
    case Qt::DecorationRole:
        if (icon.isNull())
            icon = stripThumbnailIcon(path);
        return icon;
    case Qt::ToolTipRole:
        return title + QLatin1Char('\n') + QFileInfo(path).fileName();
    default:
        return QListWidgetItem::data(role);
    }
}

// Kept in the members the item answers from; the base stores it too and tells the strip.
void StripItem::setData(int role, const QVariant &value)
{
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        title = value.toString();
    else if (role == Qt::DecorationRole)
        icon = value.value<QIcon>();
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
    filePaths.clear();
}

void CListWidgetHeir::addFilePath(const QString &path)
{
    filePaths.append(path);
}

void CListWidgetHeir::addFile(const QString &title, const QString &path)
{
    QString exact = path;
    exact.squeeze();
    // Appended without a parent: given one, the item would look its own row up among all.
    addItem(new StripItem(title, exact));
    filePaths.append(exact);
}

int CListWidgetHeir::selectedFiles(QStringList &files) const
{
    const QList<QListWidgetItem *> items = selectedItems();
    int appended = 0;
    for (QListWidgetItem *item : items) {
        files.append(filePaths.value(row(item)));
        ++appended;
    }
    return appended;
}

QStringList CListWidgetHeir::selectedFilesInStripOrder() const
{
    QVector<int> rows;
    for (QListWidgetItem *item : selectedItems())
        rows << row(item);
    std::sort(rows.begin(), rows.end());
    QStringList files;
    for (int at : rows)
        files << filePaths.value(at);
    return files;
}

void CListWidgetHeir::slot_itemSelectionChanged()
{
    QString filename;
    const QList<QListWidgetItem *> items = selectedItems();
    if (!items.isEmpty())
        filename = filePaths.value(row(items.first()));
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
