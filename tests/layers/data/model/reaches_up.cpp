// A model file that reaches up, once from the root and once by a relative path.
#include "model/tables.h"
#include "raster/raster.h"
#include <QImage>
#include "windows/window.h"
#include "../app/app.h"
