#include "../model/tables.h"
#include "tests/helper.h"
