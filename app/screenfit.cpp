// The window on screens smaller than its fixed layout: field laptops at 1366×768, or a large
// scale factor. The layout stays as designed; the window shrinks to the screen and scrolls.
#include "cdatamanager.h"

#include <QGuiApplication>
#include <QScrollArea>
#include <QStyle>

namespace {

// Title bar and borders, before the window system has framed the window.
const QSize typicalFrame(16, 40);

} // namespace

void configureHighDpiScaling()
{
    // The layout is in pixels: on a scaled screen it grows as one instead of cutting texts.
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    // Whole factors only: a 100 dpi X screen (1.04) stays sharp at 1, and 150 % becomes 1 rather
    // than a window taller than a 1080-line screen; 175 % and up become 2.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::RoundPreferFloor);
}

void CDataManager::fitToScreen(const QRect &available)
{
    const QSize frame = isVisible() ? frameGeometry().size() - geometry().size() : typicalFrame;
    const QSize room = available.size() - frame;
    // The content as laid out: its children with the same margin all round.
    const QRect children = centralWidget()->childrenRect();
    const QSize designed(children.right() + 1 + children.left(), children.bottom() + 1 + children.top());
    if (room.width() >= designed.width() && room.height() >= designed.height())
        return;
    auto *scroller = qobject_cast<QScrollArea *>(centralWidget());
    if (!scroller) {
        QWidget *content = takeCentralWidget();
        content->setFixedSize(designed);
        scroller = new QScrollArea;
        scroller->setObjectName(QStringLiteral("screenScroller"));
        scroller->setFrameShape(QFrame::NoFrame);
        scroller->setWidget(content);
        setCentralWidget(scroller);
    }
    // Room for the scroll bars beside the content, so that one direction short of room does not
    // make the other scroll too.
    const int bar = scroller->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroller);
    const QSize wanted = designed + QSize(room.height() < designed.height() ? bar : 0,
                                          room.width() < designed.width() ? bar : 0);
    const QSize smallest = QSize(200, 200).boundedTo(room);
    setMinimumSize(smallest);
    setMaximumSize(wanted.boundedTo(room).expandedTo(smallest));
    resize(wanted.boundedTo(room));
    move(available.topLeft());
}
