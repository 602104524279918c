#include "document/files/early/EarlyRows.h"

#include "document/model/SurfaceNames.h"

#include <QSet>

namespace tvl {
namespace {

constexpr int kEditable = 1;
constexpr int kFixed = 0;
// The surface row of a text item lies this many rows before its angle row.
constexpr size_t kAngleToSurface = 9;

bool IsOneOf(const QString& text, std::initializer_list<std::u16string_view> names)
{
    for (const std::u16string_view name : names) {
        if (text == QStringView(name))
            return true;
    }
    return false;
}

std::unique_ptr<CProperty> CopyRow(const CProperty& row, const char16_t* propertyName, const QString& value)
{
    auto copy = std::make_unique<CProperty>(row);
    copy->propertyName = QString::fromUtf16(propertyName);
    copy->value = value;
    return copy;
}

class Normaliser
{
public:
    Normaliser(int fileVersion, int& pictureCounter)
        : m_version(fileVersion)
        , m_pictureCounter(pictureCounter)
    {
    }

    void Add(std::unique_ptr<CProperty> row)
    {
        if (m_version < 3)
            WidenAngles(*row);
        if (m_version < 4 && row->propertyName == u"Wrap Tracks" && row->flag == kFixed) {
            row->value = QStringLiteral("No");
            row->flag = kEditable;
        }
        if (m_version < 5 && !NormaliseVersion4(row))
            return;
        if (m_version < 6 && IsOneOf(row->propertyName, {u"Left", u"Top", u"Inner Diameter",
                                                         u"Outer Diameter", u"Orientation", u"Folded Cover"}))
            row->flag = kFixed;
        m_rows.push_back(std::move(row));
    }

    PropertyRows Take() { return std::move(m_rows); }

private:
    void WidenAngles(CProperty& row) const
    {
        if (row.propertyName != u"Angle")
            return;
        if (m_rows.size() >= kAngleToSurface) {
            const QString& surface = m_rows[m_rows.size() - kAngleToSurface]->value;
            if (IsDiscSurfaceName(surface))
                return;
        }
        row.choices = QStringLiteral("0 degrees|90 degrees|180 degrees|270 degrees|");
        row.flag = kEditable;
        if (row.value == u"180 degrees")
            row.value = QStringLiteral("270 degrees");
    }

    // False when the row was replaced by others.
    bool NormaliseVersion4(std::unique_ptr<CProperty>& row)
    {
        const QString& name = row->itemName;
        if (IsOneOf(row->propertyName, {u"Left", u"Top", u"Width", u"Height"}) && !name.isEmpty() &&
            IsOneOf(name.left(1), {u"A", u"T", u"Y", u"G", u"I"}))
            row->flag = kFixed;
        if (row->propertyName == u"Item Type" && row->value == u"Image") {
            if (row->choices == u"Background")
                m_backgrounds.insert(name);
            else
                row->choices = QString::number(++m_pictureCounter);
        }
        if (row->propertyName != u"Aspect Ratio")
            return true;
        const bool background = m_backgrounds.contains(name);
        auto lock = CopyRow(*row, u"Lock Aspect Ratio",
                            row->value == u"Locked" ? QStringLiteral("Yes") : QStringLiteral("No"));
        lock->choices = QStringLiteral("Yes|No|");
        m_rows.push_back(std::move(lock));
        m_rows.push_back(CopyRow(*row, u"Set as Background",
                                 background ? QStringLiteral("Disabled On") : QStringLiteral("No")));
        m_rows.push_back(CopyRow(*row, u"Bring to Front", QStringLiteral("No")));
        return false;
    }

    int m_version;
    int& m_pictureCounter;
    PropertyRows m_rows;
    QSet<QString> m_backgrounds;
};

} // namespace

PropertyRows NormaliseEarlyRows(PropertyRows rows, int fileVersion, int& pictureCounter)
{
    Normaliser normaliser(fileVersion, pictureCounter);
    for (auto& row : rows)
        normaliser.Add(std::move(row));
    return normaliser.Take();
}

} // namespace tvl
