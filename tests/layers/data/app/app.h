#pragma once
#include "windows/window.h"
