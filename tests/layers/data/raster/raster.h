#include "toolkit/errors.h"
