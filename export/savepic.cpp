// Saving the drawing as a picture of the drawing area's size.
#include "export/export.h"

#include "model/module1.h"
#include "toolkit/dialogs.h"
#include "toolkit/errors.h"
#include "toolkit/textout.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>

namespace Module1 {

namespace {

// The format named by the chosen file's suffix when Qt can write it, else PNG.
QByteArray pictureFormat(const QString& path)
{
    const QByteArray suffix = QFileInfo(path).suffix().toLower().toLatin1();
    if (!suffix.isEmpty() && QImageWriter::supportedImageFormats().contains(suffix))
        return suffix;
    return QByteArrayLiteral("png");
}

} // namespace

void savepic()
{
    zeichnen();
    if (!zebild)
        throw toolkit::NilObjectException("There is no off-screen picture to save");

    // The top-left breite x hoehe pixels, the drawing area, copied pixel for pixel,
    // so the file shows exactly what the canvas shows.
    QImage picture(static_cast<int>(breite), static_cast<int>(hoehe), zebild->format());
    if (picture.isNull())
        throw toolkit::NilObjectException(
            QStringLiteral("Cannot make a picture of %1 x %2 pixels").arg(breite).arg(hoehe).toStdString());
    {
        QPainter g(&picture);
        g.setCompositionMode(QPainter::CompositionMode_Source);
        const QRectF area(0, 0, static_cast<double>(breite), static_cast<double>(hoehe));
        g.drawImage(area, *zebild, area);
    }

    const std::optional<QString> chosen = toolkit::GetSaveFolderItem(QStringLiteral("bild"));
    if (!chosen)
        return;

    const QByteArray format = pictureFormat(*chosen);
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, format.constData()))
        throw toolkit::IOException(QStringLiteral("Cannot write the picture \"%1\": the %2 encoder failed")
                                       .arg(*chosen, QString::fromLatin1(format).toUpper())
                                       .toStdString());
    toolkit::writeFileAtomically(*chosen, encoded);
}

} // namespace Module1
