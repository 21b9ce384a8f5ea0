#pragma once
// Exchange documents of a given size for the benchmarks: the compact one of a large
// school, and an indented district document in Velna's own layout and encoding.

#include <QByteArray>

namespace varnolo::banco {

/// A large school in compact form (UTF-8, no indentation): `materias` MATERIAS
/// records over `grupos` groups, 400 teachers, 200 rooms and one time frame. Subjects
/// repeat over courses and many share the code MAT, so the short-code suffixes, the
/// offering lookups and the group match all see long runs.
QByteArray documentoCentro(int materias, int grupos);

/// A district, as Velna writes it (ISO-8859-1, indented, every item named). With
/// `escala` 1: 20,000 MATERIAS records, 1,500 teachers, 600 groups over 126 courses
/// (about 95,000 teaching assignments), 300 rooms and 5 time frames of 30 slots,
/// about 7.6 MB. Every count but the time frames grows with `escala`.
QByteArray documentoDistrito(int escala);

}  // namespace varnolo::banco
