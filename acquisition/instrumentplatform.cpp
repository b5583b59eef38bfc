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

std::unique_ptr<InstrumentPlatform> makeInstrumentPlatform()
{
    if (platformFactory())
        return platformFactory()();
    return createInstrumentPlatform();
}
