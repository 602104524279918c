#include "document/files/DesignReadApply.h"

namespace tvl {
namespace {

constexpr std::u16string_view defaultDesignNames[] = {u"Default1.tvl", u"Default2.tvl", u"Default1_dvd.tvl",
                                                      u"Default2_dvd.tvl"};
constexpr std::u16string_view albumKeys[] = {u"Artist", u"Title", u"Track List", u"Year", u"Time", u"Genre"};
constexpr int kDuplicateDisc = 3;
constexpr int kDiscOnTop = 1;
constexpr int kSampleTracks = 7;

QString Key(std::u16string_view key)
{
    return QString::fromUtf16(key.data(), static_cast<qsizetype>(key.size()));
}

void FillSampleDisc(LabelDesign& design, const QString& suffix)
{
    const QString end = QString(QChar(static_cast<char16_t>(kCellEnd)));
    QString tracks;
    for (int n = 1; n <= kSampleTracks; ++n) {
        tracks += QString::number(n) + QStringLiteral(". ") + end + QStringLiteral("Track ") +
                  QString::number(n) + suffix + end + QStringLiteral(" 0:0") + QString::number(n) + end;
    }
    for (const std::u16string_view key : albumKeys) {
        const QString name = Key(key);
        const QString value = name == u"Track List" ? tracks : name + suffix + end;
        design.SetAlbumField(name + suffix, value);
    }
}

} // namespace

void DesignViewHooks::AlbumFieldChanged(const QString&, const QString&) {}
void DesignViewHooks::RefreshBars() {}
void DesignViewHooks::ApplyStocks(LabelDesign&, const LiveDesignState&, int&) {}
void DesignViewHooks::SelectItem(const QString&) {}
void DesignViewHooks::Redraw() {}

bool IsDefaultDesignName(QStringView title)
{
    for (const std::u16string_view name : defaultDesignNames) {
        if (title == name)
            return true;
    }
    return false;
}

void FillSampleAlbum(LabelDesign& design, QStringView discMode)
{
    if (discMode == u"Double") {
        FillSampleDisc(design, QStringLiteral(" - Disc 1"));
        FillSampleDisc(design, QStringLiteral(" - Disc 2"));
    } else {
        FillSampleDisc(design, QString());
    }
}

void ApplyReadDesign(LabelDesign& design, LiveDesignState& live, int& discPositionMode, QString& title,
                     DesignViewHooks& hooks)
{
    const CAlbumInfo& header = design.albumHeader;
    live.currentSurface = header.currentSurface;
    live.currentPageCode = header.currentPageCode;
    live.discMode = header.discMode;
    live.caseKind = header.caseKind;
    if (live.discMode == u"Double" && discPositionMode == kDuplicateDisc)
        discPositionMode = kDiscOnTop;

    if (IsDefaultDesignName(title)) {
        FillSampleAlbum(design, live.discMode);
        title = QStringLiteral("Untitled.tvl");
    } else {
        for (const std::u16string_view key : albumKeys) {
            const QString name = Key(key);
            const QString value = header.LinkedAlbumText(name);
            design.SetAlbumField(name, value);
            hooks.AlbumFieldChanged(name, value);
        }
    }

    design.RefreshLinkedItems();
    const QString& surface = live.currentSurface;
    if (surface != u"Disc 2" && surface != u"Disc 1" && surface != u"Front Cover" &&
        surface != u"Back Cover") {
        if (live.currentPageCode == u"1")
            live.currentSurface = QStringLiteral("Disc 1");
        else if (live.currentPageCode == u"2")
            live.currentSurface = QStringLiteral("Front Cover");
        else if (live.currentPageCode == u"3")
            live.currentSurface = QStringLiteral("Back Cover");
        else
            live = {QStringLiteral("Disc 1"), QStringLiteral("1"), live.discMode, live.caseKind};
    }
    design.albumHeader.currentSurface = live.currentSurface;
    hooks.RefreshBars();
    hooks.ApplyStocks(design, live, discPositionMode);
    hooks.SelectItem(live.currentSurface);
    hooks.Redraw();
}

} // namespace tvl
