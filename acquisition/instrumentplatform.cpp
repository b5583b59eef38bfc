#include "instrumentplatform.h"

namespace {
std::function<std::unique_ptr<InstrumentPlatform>()> &platformFactory()
{
    static std::function<std::unique_ptr<InstrumentPlatform>()> factory;
    return factory;
}
} // namespace

void setInstrumentPlatformFactory(std::function<std::unique_ptr<InstrumentPlatform>()> factory)
{
    platformFactory() = std::move(factory);
}

bool sameInstrumentPresent(InstrumentPlatform &platform, const QString &root, const QString &identity)
{
    return platform.rootPresent(root) && platform.rootIdentity(root) == identity;
}

std::unique_ptr<InstrumentPlatform> makeInstrumentPlatform()
{
    if (platformFactory())
        return platformFactory()();
    return createInstrumentPlatform();
}
