#include "app/settings/AppSettings.h"

#include "app/settings/DecimalText.h"
#include "app/settings/SettingsStore.h"

#include <QDir>

namespace tvl {
namespace {

bool NonZero(const SettingsStore& store, const QString& name)
{
    return store.Number(name).value_or(0) != 0;
}

} // namespace

PrintOptions ReadPrintOptions(const QString& text)
{
    PrintOptions options;
    if (text.isEmpty())
        return options;
    for (qsizetype i = 0; i < qsizetype(options.flags.size()); ++i)
        options.flags[size_t(i)] = text.mid(i, 1) == u"1";
    options.mode = DecimalValue(QStringView(text).mid(5, 1));
    if (options.mode < 1 || options.mode > 3)
        options.mode = 1;
    options.firstNumber = qMax(0, DecimalValue(QStringView(text).mid(6, 3)));
    options.secondNumber = qMax(0, DecimalValue(QStringView(text).mid(9, 3)));
    options.thirdNumber = DecimalValue(QStringView(text).mid(12, 3));
    if (options.thirdNumber < 0)
        options.thirdNumber = 100;
    return options;
}

QString FormatPrintOptions(const PrintOptions& options)
{
    QString text;
    for (const bool flag : options.flags)
        text += flag ? u'1' : u'0';
    text += QString::number(options.mode);
    for (const int number : {options.firstNumber, options.secondNumber, options.thirdNumber})
        text += QStringLiteral("%1").arg(number, 3, 10, QLatin1Char('0'));
    return text;
}

std::optional<QPoint> ReadIntPair(const QString& text)
{
    const qsizetype comma = text.indexOf(u',');
    if (comma < 0)
        return std::nullopt;
    return QPoint(DecimalValue(QStringView(text).left(comma)),
                  DecimalValue(QStringView(text).mid(comma + 1)));
}

QPoint ReadPosition(const QString& text)
{
    if (text.isEmpty())
        return {-1, -1};
    return {DecimalValue(QStringView(text).mid(0, 5)), DecimalValue(QStringView(text).mid(5, 5))};
}

QString FormatPosition(QPoint position)
{
    // "%.5d" of a negative number takes six characters and would shift y; centred is stored as empty.
    if (position.x() < 0 || position.y() < 0)
        return {};
    return QStringLiteral("%1%2")
        .arg(qMin(position.x(), 99999), 5, 10, QLatin1Char('0'))
        .arg(qMin(position.y(), 99999), 5, 10, QLatin1Char('0'));
}

QStringList SplitFields(const QString& text, qsizetype count)
{
    QStringList fields = text.split(u'`');
    // The text after the last backquote ends no field.
    fields.removeLast();
    fields.resize(count);
    return fields;
}

bool SourceSwitch(const SettingsStore& store, const QString& name)
{
    if (!store.Contains(name))
        return true;
    return store.Number(name) == 1;
}

AppSettings LoadSettings(SettingsStore& store, const QString& programFolder)
{
    AppSettings s;
    s.printFront = NonZero(store, QStringLiteral("PrintFront"));
    s.printBack = NonZero(store, QStringLiteral("PrintBack"));
    s.printDisc1 = NonZero(store, QStringLiteral("PrintDisc1"));
    s.printDisc2 = NonZero(store, QStringLiteral("PrintDisc2"));
    s.printOptions = ReadPrintOptions(store.ReadSettingString(QStringLiteral("PrintOptions")));

    if (const auto offset = ReadIntPair(store.ReadSettingString(QStringLiteral("PrintOffset"))))
        s.printOffset = QPoint(qBound(-40, offset->x(), 40), qBound(-40, offset->y(), 40));
    s.printDialogPosition = ReadPosition(store.ReadSettingString(QStringLiteral("PrintDialog")));
    s.colorDialogPosition = ReadPosition(store.ReadSettingString(QStringLiteral("ColorDialog")));
    s.customColors = store.ReadSettingString(QStringLiteral("CustomColors"));

    const QString units = store.ReadSettingString(QStringLiteral("Units"));
    if (!units.isEmpty())
        s.units = units;
    // A grid below the dialog's minimum would make drawing and snapping loop without end.
    if (const auto grid = ReadIntPair(store.ReadSettingString(QStringLiteral("GridSize"))))
        s.gridSize =
            QSize(qBound(gridSizeMin, grid->x(), gridSizeMax), qBound(gridSizeMin, grid->y(), gridSizeMax));
    s.showGrid = NonZero(store, QStringLiteral("ShowGrid"));
    s.snapToGrid = NonZero(store, QStringLiteral("SnapToGrid"));
    s.guides = NonZero(store, QStringLiteral("Guides"));
    s.firstRun = !store.Contains(QStringLiteral("HelpScreen"));
    s.version = store.ReadSettingString(QStringLiteral("Version"));

    if (const auto oldTemplate = store.Number(QStringLiteral("Template"))) {
        s.defTemplate = *oldTemplate == 2 ? QStringLiteral("Default2.tvl") : QStringLiteral("Default1.tvl");
        // Written before the old value goes, so an interrupted conversion simply runs again.
        store.WriteString(QStringLiteral("defTemplate"), s.defTemplate);
        store.Remove(QStringLiteral("Template"));
    } else if (const QString name = store.ReadSettingString(QStringLiteral("defTemplate")); !name.isEmpty()) {
        s.defTemplate = name;
    }

    s.saveFile = store.ReadSettingString(QStringLiteral("SaveFile"));
    s.openFile = store.ReadSettingString(QStringLiteral("OpenFile"));
    s.openImage = store.ReadSettingString(QStringLiteral("OpenImage"));
    s.indexJewel = store.ReadSettingString(QStringLiteral("IndexJewel"));
    s.indexDVD = store.ReadSettingString(QStringLiteral("IndexDVD"));
    s.lastDrive = store.ReadSettingString(QStringLiteral("lastDrive"));

    s.freedb = SourceSwitch(store, QStringLiteral("bFreedb"));
    s.cdText = SourceSwitch(store, QStringLiteral("bCDText"));
    s.cdPlayer = SourceSwitch(store, QStringLiteral("bCDPlayer"));
    s.mp3 = SourceSwitch(store, QStringLiteral("bMp3"));
    s.mp3Tag = SourceSwitch(store, QStringLiteral("bMp3Tag"));
    s.cdPlayerPath = store.ReadSettingString(QStringLiteral("CDPlayerPath"));

    s.freedbOptions = store.ReadSettingString(QStringLiteral("FreedbOptions"));
    if (s.freedbOptions.isEmpty()) {
        s.freedbOptions = defaultFreedbOptions.toString();
        store.WriteString(QStringLiteral("FreedbOptions"), s.freedbOptions);
    }
    s.freedbFields = SplitFields(s.freedbOptions, 9);

    s.browseDefaultPath = store.ReadSettingString(QStringLiteral("BrowseDefaultPath"));
    if (s.browseDefaultPath.isEmpty())
        s.browseDefaultPath = QDir(programFolder).filePath(QStringLiteral("Backgrounds"));
    s.browseFilter = store.Number(QStringLiteral("BrowseFilter")).value_or(0);
    s.browseSubfolder = store.Number(QStringLiteral("BrowseSubfolder")).value_or(1) != 0;
    s.showCdPrinterDialog = !store.Contains(QStringLiteral("bHelpCDPrinter"));
    return s;
}

} // namespace tvl
