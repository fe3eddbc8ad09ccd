// The applet page beside an OFF file, and the applet's four class files.
#include "export/export.h"

#include "model/module1.h"
#include "toolkit/errors.h"
#include "toolkit/resources.h"
#include "toolkit/textout.h"

namespace Module1 {

namespace {

const QString crlf = QStringLiteral("\r\n");
const QChar quote(34);

// The bytes of a class file among the program resources, fetched on the first call
// of a run and kept. A missing resource is an error and is looked up again next time,
// so that no empty class file is ever written.
QByteArray classFile(const QString& fileName, bool& loaded, QByteArray& bytes)
{
    if (!loaded) {
        const std::optional<QByteArray> found = toolkit::resourceBytes(fileName);
        if (!found)
            throw toolkit::NilObjectException(
                QStringLiteral("The program resource \"%1\" is missing").arg(fileName).toStdString());
        bytes = *found;
        loaded = true;
    }
    return bytes;
}

} // namespace

void saveHTML(const QString& folder, const QString& name)
{
    // ".off" anywhere in the name, in any letter case: the page takes the name
    // without its last four characters; otherwise the model file's name.
    const QString base = name.contains(QStringLiteral(".off"), Qt::CaseInsensitive) ? name.left(name.size() - 4)
                                                                                    : datname;

    auto out = toolkit::TextOutputStream::CreateTextFile(folder + base + QStringLiteral(".htm"));
    out->Delimiter = crlf;
    out->WriteLine(QStringLiteral("<HTML>"));
    out->WriteLine(QStringLiteral("<HEAD>"));
    out->WriteLine(QStringLiteral("<TITLE>OFF-Viewer</TITLE>"));
    out->WriteLine(QStringLiteral("</HEAD>"));
    out->WriteLine(QStringLiteral("<BODY>"));
    out->Write(QStringLiteral("<CENTER><APPLET code=") + quote + QStringLiteral("Viewer41.class") + quote
               + QStringLiteral(" WIDTH=") + quote + QStringLiteral("640") + quote + QStringLiteral(" HEIGHT=")
               + quote + QStringLiteral("480") + quote + QStringLiteral("><PARAM name=model value=") + quote);
    out->Write(name);
    out->WriteLine(quote + QStringLiteral("></APPLET></CENTER>"));
    out->WriteLine(QStringLiteral("</BODY>"));
    out->WriteLine(QStringLiteral("</HTML>"));
    out->commit();
}

void savejava(const QString& folder)
{
    toolkit::writeFileAtomically(folder + QStringLiteral("Viewer41.class"), Viewer41());
    toolkit::writeFileAtomically(folder + QStringLiteral("Face.class"), Face());
    toolkit::writeFileAtomically(folder + QStringLiteral("Matrix3D.class"), Matrix3D());
    toolkit::writeFileAtomically(folder + QStringLiteral("OOGL_OFF.class"), OOGL_OFF());
}

QByteArray Viewer41()
{
    static bool loaded = false;
    static QByteArray bytes;
    return classFile(QStringLiteral("Viewer41.class"), loaded, bytes);
}

QByteArray Face()
{
    static bool loaded = false;
    static QByteArray bytes;
    return classFile(QStringLiteral("Face.class"), loaded, bytes);
}

QByteArray Matrix3D()
{
    static bool loaded = false;
    static QByteArray bytes;
    return classFile(QStringLiteral("Matrix3D.class"), loaded, bytes);
}

QByteArray OOGL_OFF()
{
    static bool loaded = false;
    static QByteArray bytes;
    return classFile(QStringLiteral("OOGL_OFF.class"), loaded, bytes);
}

} // namespace Module1
