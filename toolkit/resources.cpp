#include "resources.h"

#include <QFile>

namespace toolkit {

namespace {

std::optional<QByteArray> builtIn(const QString& fileName)
{
    QFile f(QStringLiteral(":/qel/") + fileName);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return f.readAll();
}

ResourceLookup& lookup()
{
    static ResourceLookup l = builtIn;
    return l;
}

} // namespace

std::optional<QByteArray> resourceBytes(const QString& fileName) { return lookup()(fileName); }

std::shared_ptr<QImage> GetPictureFromResource(const QString& fileName)
{
    const auto bytes = resourceBytes(fileName);
    if (!bytes)
        return nullptr;
    auto image = std::make_shared<QImage>();
    if (!image->loadFromData(*bytes))
        return nullptr;
    return image;
}

void setResourceLookup(ResourceLookup l) { lookup() = std::move(l); }
void resetResourceLookup() { lookup() = builtIn; }

} // namespace toolkit
