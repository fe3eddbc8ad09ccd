#include "model/module1.h"

namespace Module1 {

void datenlesen() {}

} // namespace Module1
