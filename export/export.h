#pragma once
// The export procedures of Module1: picture, OFF file, applet page, class files.
#include <QByteArray>
#include <QString>

namespace Module1 {

void savepic();
void saveoff();
void saveHTML(const QString& folder, const QString& name);
void savejava(const QString& folder);

// The applet class files among the program resources, fetched once per run.
QByteArray Viewer41();
QByteArray Face();
QByteArray Matrix3D();
QByteArray OOGL_OFF();

} // namespace Module1
