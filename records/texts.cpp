#include "texts.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>

#include <algorithm>
#include <iterator>

namespace {

// Owned by the application and told of its catalogue changes: installing or removing one sends it
// a language change. The texts are kept in a small open-addressed table keyed by the literal's
// address: a card asks for about twenty of them per record.
class TextCache : public QObject
{
public:
    static constexpr int Slots = 256;
    static constexpr int MostKept = Slots / 2; // beyond, texts are translated each time

    const QString *find(const char *source) const
    {
        for (int at = slotOf(source);; at = (at + 1) % Slots) {
            if (sources[at] == source)
                return &texts[at];
            if (!sources[at])
                return nullptr;
        }
    }
    QString keep(const char *source, const QString &text)
    {
        if (kept == MostKept)
            return text;
        int at = slotOf(source);
        while (sources[at])
            at = (at + 1) % Slots;
        sources[at] = source;
        texts[at] = text;
        ++kept;
        return text;
    }

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::LanguageChange) {
            std::fill(std::begin(sources), std::end(sources), nullptr);
            std::fill(std::begin(texts), std::end(texts), QString());
            kept = 0;
        }
        return false;
    }

private:
    static int slotOf(const char *source)
    {
        return int((quintptr(source) * 0x9E3779B97F4A7C15ull) >> 56) % Slots;
    }

    const char *sources[Slots] = {};
    QString texts[Slots];
    int kept = 0;
};

} // namespace

QString Texts::translate(const char *context, const char *source)
{
    QCoreApplication *application = QCoreApplication::instance();
    static QPointer<TextCache> cache;
    if (!application)
        return QCoreApplication::translate(context, source);
    if (!cache) {
        cache = new TextCache;
        cache->setParent(application);
        application->installEventFilter(cache);
    }
    if (const QString *found = cache->find(source))
        return *found;
    return cache->keep(source, QCoreApplication::translate(context, source));
}
