#pragma once
// The peak resident memory of this process so far (POSIX), for the large-case
// benchmarks that report it beside their times.

#include <sys/resource.h>

namespace varnolo::banco {

/// In KB.
inline long picoKb() {
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    return uso.ru_maxrss;
}

}  // namespace varnolo::banco
