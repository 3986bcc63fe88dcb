#include "Error.h"

namespace talv {

Error::Error(int number, QString description)
    : m_number(number), m_description(std::move(description)), m_what(m_description.toUtf8())
{}

QString describe(const std::exception &e)
{
    if (const auto *err = dynamic_cast<const Error *>(&e))
        return err->description();
    return QString::fromUtf8(e.what());
}

} // namespace talv
