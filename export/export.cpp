#include "export/export.h"

// Placeholder until the export is built.
namespace Module1 {
void savepic() {}
void saveoff() {}
void saveHTML(const QString&, const QString&) {}
void savejava(const QString&) {}
QByteArray Viewer41() { return {}; }
QByteArray Face() { return {}; }
QByteArray Matrix3D() { return {}; }
QByteArray OOGL_OFF() { return {}; }
} // namespace Module1
