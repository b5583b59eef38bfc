#include "strippacer.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QEvent>

#include "views/thumbnailiconengine.h"

StripPacer *StripPacer::active = nullptr;

StripPacer::StripPacer(QAbstractItemView *strip, QWidget *progress)
    : strip(strip)
    , progress(progress)
    , outer(active)
{
    active = this;
    strip->installEventFilter(this);
    ThumbnailIconEngine::holdDecoding(true);
}

StripPacer::~StripPacer()
{
    active = outer;
    if (!outer)
        ThumbnailIconEngine::holdDecoding(false);
    if (progress)
        progress->setUpdatesEnabled(true);
    if (strip) {
        strip->removeEventFilter(this);
        strip->setUpdatesEnabled(true);
        strip->viewport()->update(); // the thumbnails held back during the loading
    }
}

void StripPacer::beginPass()
{
    open = !clock.isValid() || clock.nsecsElapsed() >= frameNs;
    if (open)
        clock.start();
    // Enabled again, the bar asks for a paint of the value it has now.
    if (progress && progress->updatesEnabled() != open)
        progress->setUpdatesEnabled(open);
    if (!strip)
        return;
    if (strip->updatesEnabled() != open)
        strip->setUpdatesEnabled(open);
    // Laid out now, so that this pass paints the items rather than a strip whose layout
    // the last insertion cleared. A layout walks every item: frames are spaced so that
    // layouts take at most a tenth of the loading, which keeps it linear.
    if (open) {
        strip->doItemsLayout();
        frameNs = qMax(FrameMs * 1000000, 10 * clock.nsecsElapsed());
    }
}

void StripPacer::pass()
{
    beginPass();
    if (open || !sincePoll.isValid() || sincePoll.nsecsElapsed() >= PollMs * 1000000) {
        sincePoll.start();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    } else {
        QCoreApplication::sendPostedEvents();
    }
}

bool StripPacer::eventFilter(QObject *, QEvent *event)
{
    // A nested loading paces the strip on its own; the outer one stands aside meanwhile.
    return event->type() == QEvent::Timer && active == this && !open;
}
