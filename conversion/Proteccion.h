#pragma once
// The one place where an error that ends a conversion becomes its outcome.

#include <functional>

#include "conversion/Desenlace.h"

namespace varnolo {

/// Runs a conversion; an error that it raises becomes a failed outcome with the
/// error's text, a cancellation a cancelled outcome.
Desenlace protegerConversion(const std::function<Desenlace()>& conversion);

}  // namespace varnolo
