#include "BusyCursor.h"

#include "UiServices.h"

namespace talv {

BusyCursor::BusyCursor() : m_services(&UiServices::current())
{
    m_services->setBusy(true);
}

BusyCursor::~BusyCursor()
{
    release();
}

void BusyCursor::release()
{
    if (!m_services)
        return;
    UiServices *services = m_services;
    m_services = nullptr;
    services->setBusy(false);
}

} // namespace talv
