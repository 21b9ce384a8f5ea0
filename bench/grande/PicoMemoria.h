#pragma once
// The peak resident memory of this process (POSIX), for the large-case benchmarks
// that report it beside their times. On Linux the peak can be started again, so that
// what a benchmark prepared (a generated document) does not hide the peak of what it
// measures.

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace varnolo::banco {

/// Starts the peak again from the memory in use now; false where the system cannot
/// (then picoKb() keeps counting from the start of the process).
inline bool reiniciarPico() {
    std::FILE* f = std::fopen("/proc/self/clear_refs", "w");
    if (f == nullptr) return false;
    const bool hecho = std::fputs("5", f) >= 0;
    return std::fclose(f) == 0 && hecho;
}

/// In KB: the peak since reiniciarPico() where it worked, else since the start.
inline long picoKb() {
    if (std::FILE* f = std::fopen("/proc/self/status", "r")) {
        char linea[256];
        long kb = -1;
        while (std::fgets(linea, sizeof linea, f) != nullptr) {
            if (std::strncmp(linea, "VmHWM:", 6) == 0) kb = std::atol(linea + 6);
        }
        std::fclose(f);
        if (kb >= 0) return kb;
    }
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    return uso.ru_maxrss;
}

}  // namespace varnolo::banco
