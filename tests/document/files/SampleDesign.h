#pragma once

#include "document/files/DesignFile.h"

#include <QByteArray>

namespace tvl {

class CxImage;

// A design with an item of every kind: pages, covers, boundaries, free and linked text, a track list
// and pictures in several formats.
LabelDesign MakeSampleDesign();
LiveDesignState SampleState(const char* discMode = "Single", const char* caseKind = "Jewel");

// A small picture encoded in format type and decoded again (JPEG keeps its bytes).
std::shared_ptr<CxImage> MakePicture(int type);

QByteArray WriteToBytes(LabelDesign& design, const LiveDesignState& live);
FileResult<DesignContent> ReadFromBytes(const QByteArray& bytes);

// Replaces the schema word of the CText class record, which is the file version.
void SetFileVersion(QByteArray& bytes, int version);

} // namespace tvl
