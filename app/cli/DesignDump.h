#pragma once

#include <QJsonObject>

namespace tvl {

struct DesignContent;

// The design as JSON: fileVersion, the header fields and album fields by key (values as stored, with
// their terminators) and every item in list order with its stored fields under their code names.
QJsonObject DumpDesign(const DesignContent& content);

} // namespace tvl
