// The applet page beside an OFF file, and the applet's four class files.
#include "export/export.h"

#include "model/module1.h"
#include "toolkit/errors.h"
#include "toolkit/resources.h"
#include "toolkit/textout.h"

#include <QFileInfo>
#include <QHash>

namespace Module1 {

namespace {

const QChar quote(34);

// The bytes of a class file among the program resources, fetched on the first call
// of a run and kept. A missing resource is an error and is looked up again next time,
// so that no empty class file is ever written.
QByteArray classFile(const QString& fileName)
{
    static QHash<QString, QByteArray> loaded;
    if (const auto kept = loaded.constFind(fileName); kept != loaded.constEnd())
        return *kept;
    const std::optional<QByteArray> found = toolkit::resourceBytes(fileName);
    if (!found)
        throw toolkit::NilObjectException(
            QStringLiteral("The program resource \"%1\" is missing").arg(fileName).toStdString());
    loaded.insert(fileName, *found);
    return *found;
}

// The name as an attribute value: "&" and a double quote as character references,
// so that no name can end the value or start a reference.
QString attributeText(const QString& name)
{
    QString out = name;
    out.replace(QLatin1Char('&'), QStringLiteral("&amp;"));
    out.replace(quote, QStringLiteral("&quot;"));
    return out;
}

} // namespace

void checkPageCanName(const QString& path)
{
    // toWindows1252 makes one "?" of every character the code page has not.
    const QString name = QFileInfo(path).fileName();
    QString missing;
    for (const uint c : name.toUcs4()) {
        const QString one = QString::fromUcs4(reinterpret_cast<const char32_t*>(&c), 1);
        if (toolkit::toWindows1252(one) == "?" && c != '?' && !missing.contains(one))
            missing += one;
    }
    if (!missing.isEmpty())
        throw toolkit::UnsupportedFormatException(
            QStringLiteral("The applet page cannot name the OFF file \"%1\": its name holds characters that "
                           "Windows-1252, the page's code page, cannot represent (%2). Nothing was written; "
                           "choose a name without them.")
                .arg(path, missing)
                .toStdString());
}

void saveHTML(const QString& folder, const QString& name)
{
    // ".off" anywhere in the name, in any letter case: the page takes the name
    // without its last four characters; otherwise the model file's name.
    const QString base = name.contains(QStringLiteral(".off"), Qt::CaseInsensitive) ? name.left(name.size() - 4)
                                                                                    : datname;
    checkPageCanName(folder + name);

    auto out = toolkit::TextOutputStream::CreateTextFile(folder + base + QStringLiteral(".htm"));
    out->Delimiter = toolkit::windowsLineEnd;
    out->WriteLine(QStringLiteral("<HTML>"));
    out->WriteLine(QStringLiteral("<HEAD>"));
    out->WriteLine(QStringLiteral("<TITLE>OFF-Viewer</TITLE>"));
    out->WriteLine(QStringLiteral("</HEAD>"));
    out->WriteLine(QStringLiteral("<BODY>"));
    out->Write(QStringLiteral("<CENTER><APPLET code=") + quote + QStringLiteral("Viewer41.class") + quote
               + QStringLiteral(" WIDTH=") + quote + QStringLiteral("640") + quote + QStringLiteral(" HEIGHT=") + quote
               + QStringLiteral("480") + quote + QStringLiteral("><PARAM name=model value=") + quote);
    out->Write(attributeText(name));
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

QByteArray Viewer41() { return classFile(QStringLiteral("Viewer41.class")); }
QByteArray Face() { return classFile(QStringLiteral("Face.class")); }
QByteArray Matrix3D() { return classFile(QStringLiteral("Matrix3D.class")); }
QByteArray OOGL_OFF() { return classFile(QStringLiteral("OOGL_OFF.class")); }

} // namespace Module1
