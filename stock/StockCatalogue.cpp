#include "stock/StockCatalogue.h"

#include "document/files/SafeWrite.h"
#include "stock/CatalogueFile.h"
#include "stock/CatalogueSettings.h"

#include <QFile>
#include <algorithm>

namespace tvl {
namespace {

constexpr std::u16string_view builtInKeys[] = {u"Disc", u"Jewel", u"DVD", u"DVD Slim"};

bool ReadFile(const QString& path, CatalogueContent& content, bool readIndices)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    content = ReadCatalogueFile(file, readIndices);
    return true;
}

} // namespace

StockCatalogue::StockCatalogue(QString folder, CatalogueSettings& settings)
    : m_folder(std::move(folder))
    , m_settings(settings)
{
}

void StockCatalogue::LoadCatalogue()
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        m_stocks.clear();
        m_currentDisc = 0;
        m_currentCase = 0;

        CatalogueContent main;
        const bool mainRead = ReadFile(CataloguePath(), main, true);
        if (mainRead) {
            m_stocks = std::move(main.stocks);
            m_currentDisc = main.currentDisc;
            m_currentCase = main.currentCase;
        }

        CatalogueContent update;
        const bool updateRead = ReadFile(UpdatePath(), update, !mainRead);
        if (updateRead) {
            if (mainRead) {
                for (auto& stock : update.stocks) {
                    const bool known = std::any_of(m_stocks.begin(), m_stocks.end(), [&](const auto& have) {
                        return have->name == stock->name;
                    });
                    if (!known)
                        m_stocks.push_back(std::move(stock));
                }
            } else {
                m_stocks = std::move(update.stocks);
                m_currentDisc = update.currentDisc;
                m_currentCase = update.currentCase;
            }
            EnsureCurrentStocks();
            // The update is only dropped once the merged catalogue is safely written.
            if (SaveCatalogue())
                QFile::remove(UpdatePath());
        }

        if (mainRead || updateRead) {
            EnsureCurrentStocks();
            return;
        }

        for (const std::u16string_view key : builtInKeys)
            AppendBuiltIn(QStringView(key));
        m_currentDisc = 0;
        m_currentCase = 1;
        if (!SaveCatalogue())
            return;
    }
    EnsureCurrentStocks();
}

FileResult<> StockCatalogue::SaveCatalogue() const
{
    return WriteFileSafely(
        CataloguePath(),
        [this](QIODevice& device) -> FileResult<> {
            WriteCatalogueFile(device, m_stocks, m_currentDisc, m_currentCase);
            return std::monostate{};
        },
        QStringLiteral("Error creating the template file."));
}

bool StockCatalogue::IsOfType(int index, int stockType) const
{
    return index >= 0 && static_cast<size_t>(index) < m_stocks.size() &&
           m_stocks[static_cast<size_t>(index)]->stockType == stockType;
}

bool StockCatalogue::IsCase(int index) const
{
    return IsOfType(index, CLabelDim::JewelStock) || IsOfType(index, CLabelDim::DvdStock);
}

int StockCatalogue::FirstOfType(int stockType) const
{
    for (size_t i = 0; i < m_stocks.size(); ++i) {
        if (m_stocks[i]->stockType == stockType)
            return static_cast<int>(i);
    }
    return -1;
}

int StockCatalogue::FirstSorted(bool discStocks) const
{
    int best = -1;
    for (size_t i = 0; i < m_stocks.size(); ++i) {
        const int index = static_cast<int>(i);
        if (discStocks ? !IsOfType(index, CLabelDim::DiscStock) : !IsCase(index))
            continue;
        if (best < 0 || QString::compare(m_stocks[i]->name, m_stocks[static_cast<size_t>(best)]->name,
                                         Qt::CaseInsensitive) < 0)
            best = index;
    }
    return best;
}

int StockCatalogue::AppendBuiltIn(QStringView key)
{
    auto stock = std::make_unique<CLabelDim>();
    MakeBuiltInStock(*stock, key);
    return AddStock(std::move(stock));
}

int StockCatalogue::AddStock(std::unique_ptr<CLabelDim> stock)
{
    m_stocks.push_back(std::move(stock));
    return static_cast<int>(m_stocks.size()) - 1;
}

bool StockCatalogue::SetCurrentDisc(int index)
{
    if (!IsOfType(index, CLabelDim::DiscStock))
        return false;
    m_currentDisc = index;
    return true;
}

bool StockCatalogue::SetCurrentCase(int index)
{
    if (!IsCase(index))
        return false;
    m_currentCase = index;
    return true;
}

void StockCatalogue::EnsureCurrentStocks()
{
    if (!IsOfType(m_currentDisc, CLabelDim::DiscStock)) {
        m_currentDisc = FirstOfType(CLabelDim::DiscStock);
        if (m_currentDisc < 0)
            m_currentDisc = AppendBuiltIn(u"Disc");
    }
    if (!IsCase(m_currentCase)) {
        m_currentCase = FirstOfType(CLabelDim::JewelStock);
        if (m_currentCase < 0)
            m_currentCase = FirstOfType(CLabelDim::DvdStock);
        if (m_currentCase < 0)
            m_currentCase = AppendBuiltIn(u"Jewel");
    }
}

void StockCatalogue::SwitchCaseKind(const QString& oldSetting, const QString& newSetting, int newType,
                                    QStringView builtIn)
{
    m_settings.WriteSetting(oldSetting, QString::number(m_currentCase));
    bool ok = false;
    const int remembered = m_settings.ReadSettingString(newSetting).toInt(&ok);
    if (ok && IsOfType(remembered, newType)) {
        m_currentCase = remembered;
    } else {
        m_currentCase = FirstOfType(newType);
        if (m_currentCase < 0)
            m_currentCase = AppendBuiltIn(builtIn);
        m_settings.WriteSetting(newSetting, QString::number(m_currentCase));
    }
    SaveCatalogue();
}

void StockCatalogue::ReconcileCaseKind(QStringView caseKind)
{
    EnsureCurrentStocks();
    if (IsOfType(m_currentCase, CLabelDim::JewelStock) && caseKind == u"DVD")
        SwitchCaseKind(QStringLiteral("IndexJewel"), QStringLiteral("IndexDVD"), CLabelDim::DvdStock, u"DVD");
    else if (IsOfType(m_currentCase, CLabelDim::DvdStock) && caseKind == u"Jewel")
        SwitchCaseKind(QStringLiteral("IndexDVD"), QStringLiteral("IndexJewel"), CLabelDim::JewelStock,
                       u"Jewel");
}

QString StockCatalogue::NewStockName(int stockType) const
{
    QString prefix;
    switch (stockType) {
    case CLabelDim::DiscStock:
        prefix = QStringLiteral("Custom Disc Label");
        break;
    case CLabelDim::JewelStock:
        prefix = QStringLiteral("Custom Jewel Case");
        break;
    case CLabelDim::DvdStock:
        prefix = QStringLiteral("Custom DVD Case");
        break;
    default:
        return QStringLiteral("Custom");
    }
    long long largest = 0;
    for (const auto& stock : m_stocks) {
        if (!stock->name.startsWith(prefix))
            continue;
        const QStringView rest = QStringView(stock->name).mid(prefix.size()).trimmed();
        qsizetype digits = 0;
        while (digits < rest.size() && digits < 9 && rest[digits].isDigit())
            ++digits;
        largest = std::max(largest, rest.left(digits).toLongLong());
    }
    return prefix + u' ' + QString::number(largest + 1);
}

bool StockCatalogue::DeleteStock(int index)
{
    if (index < 0 || static_cast<size_t>(index) >= m_stocks.size())
        return false;
    const bool disc = IsOfType(index, CLabelDim::DiscStock);
    const auto sameList = std::count_if(m_stocks.begin(), m_stocks.end(), [&](const auto& stock) {
        return disc ? stock->IsDiscStock() : stock->IsCaseStock();
    });
    if (sameList <= 1)
        return false;

    const bool wasDisc = index == m_currentDisc;
    const bool wasCase = index == m_currentCase;
    m_stocks.erase(m_stocks.begin() + index);
    if (m_currentDisc > index)
        --m_currentDisc;
    if (m_currentCase > index)
        --m_currentCase;
    if (wasDisc)
        m_currentDisc = FirstSorted(true);
    if (wasCase)
        m_currentCase = FirstSorted(false);
    EnsureCurrentStocks();
    SaveCatalogue();
    return true;
}

} // namespace tvl
