#pragma once

#include <QJsonObject>
#include <vector>

namespace tvl {

class DesignDocument;
struct PictureHeader;

// The design as JSON: fileVersion, the header fields and album fields by key (values as stored, with
// their terminators) and every item in list order with its stored fields under their code names.
// pictures holds what the headers of its pictures say.
QJsonObject DumpDesign(const DesignDocument& document, const std::vector<PictureHeader>& pictures);

} // namespace tvl
