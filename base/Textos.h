#pragma once
// Trimming a text as every reader of the exchange document and the tables does.

#include <QString>

namespace varnolo {

/// Removes from both ends every character up to and including the blank
/// (blanks and control characters).
QString recortar(const QString& texto);

}  // namespace varnolo
