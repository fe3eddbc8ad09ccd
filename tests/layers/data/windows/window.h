#pragma once
#include "export/export.h"
