#include "IndiceMdx.h"

namespace varnolo {

// Not written yet: no index file is produced.
void escribirIndiceMdx(const QString&, const QString&, const QList<TagMdx>&, QDate, QDate) {}

QByteArray claveNumericaMdx(double) { return QByteArray(12, '\0'); }

}  // namespace varnolo
