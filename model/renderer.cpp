#include "model/module1.h"

namespace Module1 {

void zeichnen() { hooks().invalidateCanvas(); }

} // namespace Module1
