#pragma once

#include "document/archive/ArchiveRecord.h"
#include "document/model/DiscPlacement.h"
#include "document/model/EdgeRect.h"

#include <QSize>
#include <QString>
#include <array>

namespace tvl {

// One label stock: the sheets that go through the printer and where its two labels sit on them. All
// lengths are thousandths of an inch. Disc stocks keep the outer diameter of a disc in width and the hub
// diameter in height.
class CLabelDim : public ArchiveRecord
{
public:
    enum StockType
    {
        DiscStock = 0,
        JewelStock = 1,
        DvdStock = 2,
    };

    // The class registers itself for loading the first time it is asked for.
    static const RecordClass& Class();
    const RecordClass& recordClass() const override { return Class(); }
    // 164 bytes of own data plus the archive string of the name.
    void Serialize(CArchive& archive) override;

    bool IsDiscStock() const { return stockType == DiscStock; }
    bool IsCaseStock() const { return stockType == JewelStock || stockType == DvdStock; }
    // A disc stock for printers that print on the disc itself.
    bool IsDirectToDisc() const { return stockType == DiscStock && paper1.height() == kDirectToDiscSheet; }
    // Both case labels share the first case sheet.
    bool LabelTwoOnFirstSheet() const { return page1 == page2; }

    int stockType = DiscStock;
    QString name;
    int page1 = 0;
    int page2 = 0;
    QSize paper1{0, 0};
    QSize paper2{0, 0};
    int left1 = 0;
    int left2 = 0;
    int top1 = 0;
    int top2 = 0;
    int width1 = 0;
    int width2 = 0;
    int height1 = 0;
    int height2 = 0;
    int folded = 0;
    int spine = 0;
    EdgeRect cdPrint1;
    EdgeRect cdSaved2;
    std::array<EdgeRect, 4> spare{};

    bool operator==(const CLabelDim& other) const;
};

// Paper sizes, portrait.
inline constexpr QSize kLetterPaper{8500, 11000};
inline constexpr QSize kA4Paper{8268, 11693};
inline constexpr QSize kDiscPrinterPaper{kDirectToDiscSheet, kDirectToDiscSheet};

// Fills a record from the built-in stock of that key ("Disc", "Jewel", "DVD", "DVD Slim"); any other key
// leaves the record unchanged and returns false.
bool MakeBuiltInStock(CLabelDim& record, QStringView key);

} // namespace tvl
