#include "texts.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHash>
#include <QPointer>

namespace {

// Owned by the application and told of its catalogue changes: installing or removing one sends it
// a language change.
class TextCache : public QObject
{
public:
    QHash<const char *, QString> texts;

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::LanguageChange)
            texts.clear();
        return false;
    }
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
    const auto found = cache->texts.constFind(source);
    if (found != cache->texts.cend())
        return *found;
    return *cache->texts.insert(source, QCoreApplication::translate(context, source));
}
