#pragma once

#include <QString>
#include <QVariant>

namespace talv {

// One view of the host: a kind of screen or list. `Item` answers the view's values by key, keys
// matched without regard to case; "WORKING_LIST_TYPE" gives the view code ("EGP", "ELE" ...).
class ViewEntry
{
public:
    virtual ~ViewEntry() = default;
    virtual QVariant Item(const QString &key) const = 0;
};

// The host's views, 1-based like every host collection. Owned by the host.
class ViewCollection
{
public:
    virtual ~ViewCollection() = default;
    virtual qint32 Count() const = 0;
    // 1 to Count(); other positions raise talv::Error (InvalidArgument).
    virtual const ViewEntry &Item(qint32 index) const = 0;
};

// The object the host's `ViewManager` answers; it holds the view collection.
class HostViewManager
{
public:
    virtual ~HostViewManager() = default;
    virtual ViewCollection &colViews() = 0;
};

// The first position whose view code equals `code` exactly, or -1. The position is what the
// window manager takes as a view number.
qint32 FindViewIndex(const ViewCollection &colViews, const QString &code);

} // namespace talv

Q_DECLARE_METATYPE(talv::ViewCollection *)
