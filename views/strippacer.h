#ifndef STRIPPACER_H
#define STRIPPACER_H

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

class QAbstractItemView;

// After every item appended, the strip lays out all its items again and repaints, which makes
// a loading of thousands quadratic and spends most of its time painting. While a loading runs,
// the strip is laid out and painted at most once a frame: between frames its updates are off
// and its timers (the delayed layout among them) are held back; a held-back QBasicTimer comes
// again, as it repeats until stopped. Items are still appended one by one and the event loop
// still runs after each file. The progress bar, given, is paced alike: it takes its value after
// every file, but QProgressBar repaints at once on every new percentage (a tenth of a
// millisecond each: at 1,000 files a third of the loading), so it is painted once a frame too.
class StripPacer : public QObject
{
public:
    explicit StripPacer(QAbstractItemView *strip, QWidget *progress = nullptr);
    ~StripPacer() override;

    // Called before each event pass of the loading.
    void beginPass();
    // The event pass after a file: beginPass, then the events posted meanwhile; the system's own
    // (input such as Cancel, the instrument's removal) are asked for when a frame is due and
    // otherwise at most once in PollMs, as asking costs more than reading a header.
    void pass();

protected:
    bool eventFilter(QObject *, QEvent *event) override;

private:
    static constexpr qint64 FrameMs = 40;
    static constexpr qint64 PollMs = 2;
    static StripPacer *active;
    QPointer<QAbstractItemView> strip;
    QPointer<QWidget> progress;
    StripPacer *outer;
    QElapsedTimer clock;
    qint64 frameNs = FrameMs * 1000000;
    QElapsedTimer sincePoll;
    bool open = true;
};

#endif // STRIPPACER_H
