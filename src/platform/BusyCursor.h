#pragma once

namespace talv {

class UiServices;

// Shows the busy pointer for a scope and takes it back when the scope ends, also when it ends by
// an exception. Guards nest: the pointer stays busy until the outermost one ends.
class BusyCursor
{
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;

    // Takes the pointer back before the scope ends (before a message box, say); idempotent.
    void release();

private:
    // The services that showed the pointer take it back, even if others were installed since.
    UiServices *m_services;
};

} // namespace talv
