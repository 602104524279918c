#pragma once

#include <QString>

namespace tvl {

class CRichChild;

// Receives every change made through an item accessor, and the named change pairs ("prevText" /
// "nextText" and the like) editing code reports around whole-aspect changes. Values are decimal text
// for integers. A null item means the selected item.
class UndoRecorder
{
public:
    virtual ~UndoRecorder() = default;
    virtual void RecordChange(const QString& property, CRichChild* item, const QString& oldValue,
                              const QString& newValue) = 0;
};

} // namespace tvl
