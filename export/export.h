#pragma once
// The export procedures of Module1: picture, OFF file, applet page, class files.
#include <QByteArray>
#include <QString>

namespace Module1 {

void savepic();
void saveoff();
void saveHTML(const QString& folder, const QString& name);
void savejava(const QString& folder);

// Throws UnsupportedFormatException, naming the file, when the applet page cannot
// name the OFF file at path: a character of its name that Windows-1252 has not.
void checkPageCanName(const QString& path);

// The applet class files among the program resources, fetched once per run.
QByteArray Viewer41();
QByteArray Face();
QByteArray Matrix3D();
QByteArray OOGL_OFF();

} // namespace Module1
