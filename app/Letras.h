#pragma once
// The faces the windows ask for by name (Arial for the titles, MS Sans Serif for the
// rest) with sans-serif stand-ins of the same size where a system lacks them:
// metric-compatible faces first, so texts keep their width and nothing is clipped.

namespace varnolo {

/// The faces that stand in for Arial and for MS Sans Serif, in order of preference.
inline constexpr const char* kSustitutasSans[] = {"Liberation Sans", "Arimo", "Helvetica",
                                                  "DejaVu Sans"};

/// Installs the stand-ins in Qt's font substitution table. Call once, after the
/// application object exists and before any window is made.
void instalarLetrasSustitutas();

}  // namespace varnolo
