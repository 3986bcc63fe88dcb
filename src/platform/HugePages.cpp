#include "HugePages.h"

#if defined(Q_OS_LINUX)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace talv::internal {

void adviseHugePages(const void *data, qsizetype bytes)
{
#if defined(Q_OS_LINUX) && defined(MADV_HUGEPAGE)
    constexpr qsizetype kWorthIt = qsizetype(4) << 20; // two huge pages at the least
    if (bytes < kWorthIt)
        return;
    static const auto page = quintptr(sysconf(_SC_PAGESIZE));
    // The advice applies to whole pages; the block's own first and last page are shared with no
    // one but the allocator's bookkeeping, whose contents the advice leaves alone.
    const auto begin = quintptr(data) & ~(page - 1);
    const auto end = quintptr(data) + quintptr(bytes);
    // Refused advice (no such support in this kernel) leaves ordinary pages: nothing to report.
    madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
#else
    Q_UNUSED(data);
    Q_UNUSED(bytes);
#endif
}

} // namespace talv::internal
