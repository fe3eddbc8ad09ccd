#pragma once
// Program resources found by file name at run time. The lookup is replaceable so
// that tests can make a resource go missing.
#include <QByteArray>
#include <QImage>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace toolkit {

using ResourceLookup = std::function<std::optional<QByteArray>(const QString& fileName)>;

// The bytes of the resource of that file name, or nothing when there is none.
std::optional<QByteArray> resourceBytes(const QString& fileName);

// The picture of that file name, or nullptr when there is none or it does not decode.
std::shared_ptr<QImage> GetPictureFromResource(const QString& fileName);

void setResourceLookup(ResourceLookup lookup);
// Back to the resources compiled into the program (prefix ":/qel/").
void resetResourceLookup();

} // namespace toolkit
