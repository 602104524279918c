#include "stock/CLabelDim.h"

#include "document/archive/CArchive.h"

namespace tvl {
namespace {

void ExchangeRect(CArchive& archive, EdgeRect& rect)
{
    archive.Exchange(rect.left);
    archive.Exchange(rect.top);
    archive.Exchange(rect.right);
    archive.Exchange(rect.bottom);
}

void ExchangeSize(CArchive& archive, QSize& size)
{
    int width = size.width();
    int height = size.height();
    archive.Exchange(width);
    archive.Exchange(height);
    size = QSize(width, height);
}

struct BuiltInStock
{
    std::u16string_view key;
    std::u16string_view name;
    int stockType;
    int page1;
    int page2;
    QSize paper1;
    QSize paper2;
    int left1, top1, width1, height1;
    int left2, top2, width2, height2;
    int folded;
    int spine;
};

constexpr QSize kLandscapeLetter{11000, 8500};

constexpr BuiltInStock builtInStocks[] = {
    {u"Disc", u"(CD/DVD Disc Label - Generic)", 0, 1, 0, kLetterPaper, QSize(0, 0), 1938, 688, 4625, 1600,
     1938, 5688, 4625, 1600, 0, 0},
    {u"Jewel", u"(CD Jewel Case - Plain Paper)", 1, 2, 3, kLandscapeLetter, kLetterPaper, 800, 800, 9520,
     4760, 1300, 600, 5910, 4650, 1, 250},
    {u"DVD", u"(DVD Case - Plain Paper)", 2, 2, 3, kLandscapeLetter, kLandscapeLetter, 775, 746, 9449, 7008,
     145, 647, 10727, 7191, 1, 5079},
    {u"DVD Slim", u"(DVD Slim Case - Plain Paper)", 2, 2, 3, kLandscapeLetter, kLandscapeLetter, 775, 746,
     9449, 7008, 283, 647, 10433, 7191, 1, 5079},
};

} // namespace

const RecordClass& CLabelDim::Class()
{
    static const RecordClass recordClass{"CLabelDim", kRecordSchema, true,
                                         [] { return std::make_unique<CLabelDim>(); }};
    static const bool registered = (RegisterRecordClass(recordClass), true);
    (void)registered;
    return recordClass;
}

void CLabelDim::Serialize(CArchive& archive)
{
    archive.Exchange(stockType);
    archive.Exchange(name);
    archive.Exchange(page1);
    archive.Exchange(page2);
    ExchangeSize(archive, paper1);
    ExchangeSize(archive, paper2);
    for (int* value : {&left1, &left2, &top1, &top2, &width1, &width2, &height1, &height2, &folded, &spine})
        archive.Exchange(*value);
    ExchangeRect(archive, cdPrint1);
    ExchangeRect(archive, cdSaved2);
    for (EdgeRect& rect : spare)
        ExchangeRect(archive, rect);
}

bool CLabelDim::operator==(const CLabelDim& other) const
{
    return stockType == other.stockType && name == other.name && page1 == other.page1 &&
           page2 == other.page2 && paper1 == other.paper1 && paper2 == other.paper2 && left1 == other.left1 &&
           left2 == other.left2 && top1 == other.top1 && top2 == other.top2 && width1 == other.width1 &&
           width2 == other.width2 && height1 == other.height1 && height2 == other.height2 &&
           folded == other.folded && spine == other.spine && cdPrint1 == other.cdPrint1 &&
           cdSaved2 == other.cdSaved2 && spare == other.spare;
}

bool MakeBuiltInStock(CLabelDim& record, QStringView key)
{
    for (const BuiltInStock& stock : builtInStocks) {
        if (key != stock.key)
            continue;
        record.stockType = stock.stockType;
        record.name = QString::fromUtf16(stock.name.data(), static_cast<qsizetype>(stock.name.size()));
        record.page1 = stock.page1;
        record.page2 = stock.page2;
        record.paper1 = stock.paper1;
        record.paper2 = stock.paper2;
        record.left1 = stock.left1;
        record.top1 = stock.top1;
        record.width1 = stock.width1;
        record.height1 = stock.height1;
        record.left2 = stock.left2;
        record.top2 = stock.top2;
        record.width2 = stock.width2;
        record.height2 = stock.height2;
        record.folded = stock.folded;
        record.spine = stock.spine;
        record.cdPrint1 = {};
        record.cdSaved2 = {};
        record.spare = {};
        return true;
    }
    return false;
}

} // namespace tvl
