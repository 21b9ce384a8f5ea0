#pragma once
// Timing for the benchmarks: the wall-clock and processor time of one call, the
// median of a few runs, and the lines that set a conversion beside its floor
// measured in the same run. On a machine busy with other work the processor time
// (user and system, this process) is the steadier of the two.

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace varnolo::banco {

struct Tiempo {
    double paredMs = 0;  ///< wall clock
    double cpuMs = 0;    ///< processor time of this process
};

/// Gives the memory freed so far back to the system (glibc). A call that frees
/// millions of small blocks (a libxml2 tree) leaves them for the next large request to
/// gather, which would charge that work to whatever is measured next.
inline void asentarMemoria() {
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

/// What one call of `f` takes, started on a settled heap: no call pays for the blocks
/// that an earlier one freed.
template <class F>
Tiempo medir(F&& f) {
    asentarMemoria();
    QElapsedTimer reloj;
    const std::clock_t cpu = std::clock();
    reloj.start();
    f();
    Tiempo t;
    t.paredMs = static_cast<double>(reloj.nsecsElapsed()) / 1e6;
    t.cpuMs = static_cast<double>(std::clock() - cpu) * 1000.0 / CLOCKS_PER_SEC;
    return t;
}

/// The median (the mean of the middle two for an even count); 0 for none.
inline double mediana(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const size_t m = v.size() / 2;
    return v.size() % 2 ? v[m] : (v[m - 1] + v[m]) / 2;
}

/// Each run's times, then for wall clock and processor time the medians and their
/// ratio. Returns the medians of the conversion.
inline Tiempo informar(const char* caso, const char* conversion, const std::vector<Tiempo>& suelo,
                       const std::vector<Tiempo>& medida) {
    for (size_t i = 0; i < medida.size(); ++i) {
        std::printf("  %s ronda %zu: suelo %8.1f ms (cpu %8.1f)  %s %8.1f ms (cpu %8.1f)\n", caso,
                    i + 1, suelo[i].paredMs, suelo[i].cpuMs, conversion, medida[i].paredMs,
                    medida[i].cpuMs);
    }
    const auto medianaDe = [](const std::vector<Tiempo>& v, double Tiempo::*campo) {
        std::vector<double> x;
        for (const Tiempo& t : v) x.push_back(t.*campo);
        return mediana(x);
    };
    Tiempo s{medianaDe(suelo, &Tiempo::paredMs), medianaDe(suelo, &Tiempo::cpuMs)};
    Tiempo m{medianaDe(medida, &Tiempo::paredMs), medianaDe(medida, &Tiempo::cpuMs)};
    std::printf("%-10s mediana reloj: suelo %8.1f ms  %s %8.1f ms  razón %.2f\n", caso, s.paredMs,
                conversion, m.paredMs, s.paredMs > 0 ? m.paredMs / s.paredMs : 0.0);
    std::printf("%-10s mediana cpu:   suelo %8.1f ms  %s %8.1f ms  razón %.2f\n", caso, s.cpuMs,
                conversion, m.cpuMs, s.cpuMs > 0 ? m.cpuMs / s.cpuMs : 0.0);
    std::fflush(stdout);
    return m;
}

}  // namespace varnolo::banco
