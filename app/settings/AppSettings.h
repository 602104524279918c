#pragma once

#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace tvl {

class SettingsStore;

// The print options packed by "%d%d%d%d%d%d%.3d%.3d%.3d".
struct PrintOptions
{
    std::array<bool, 5> flags{true, true, false, true, true};
    int mode = 1;          // position 5, 1..3
    int firstNumber = 0;   // positions 6-8, at least 0
    int secondNumber = 0;  // positions 9-11, at least 0
    int thirdNumber = 100; // positions 12-14; a negative value becomes 100
};

// Every option LoadSettings reads, with the defaults of absent values. Lengths are in mils.
struct AppSettings
{
    bool printFront = false;
    bool printBack = false;
    bool printDisc1 = false;
    bool printDisc2 = false;
    PrintOptions printOptions;
    QPoint printOffset;                 // fortieths of an inch, each -40..40
    QPoint printDialogPosition{-1, -1}; // -1, -1 means centred
    QPoint colorDialogPosition{-1, -1};
    QString customColors;
    QString units = QStringLiteral("Inches");
    QSize gridSize{100, 100};
    bool showGrid = false;
    bool snapToGrid = false;
    bool guides = false;
    bool firstRun = true; // HelpScreen absent
    QString version;
    QString defTemplate = QStringLiteral("Default1.tvl");
    QString saveFile;
    QString openFile;
    QString openImage;
    QString indexJewel;
    QString indexDVD;
    QString lastDrive;
    bool freedb = true;
    bool cdText = true;
    bool cdPlayer = true;
    bool mp3 = true;
    bool mp3Tag = true;
    QString cdPlayerPath;
    QString freedbOptions;
    QStringList freedbFields; // always nine fields
    QString browseDefaultPath;
    int browseFilter = 0;
    bool browseSubfolder = true;
    bool showCdPrinterDialog = true; // bHelpCDPrinter absent
};

// The public CDDB-protocol server used until the user picks another one.
inline constexpr QStringView defaultFreedbOptions =
    u"gnudb.gnudb.org`80`/~cddb/cddb.cgi`Random freedb server`0`````";
inline constexpr int gridSizeMin = 30;
inline constexpr int gridSizeMax = 1000;

// Reads every option from store. Converts the old Template value into defTemplate and writes the default
// FreedbOptions back when it is empty. programFolder is the folder holding the program's own files.
AppSettings LoadSettings(SettingsStore& store, const QString& programFolder);

// The reading rules, usable on their own by the dialogs that write these values.
PrintOptions ReadPrintOptions(const QString& text);
QString FormatPrintOptions(const PrintOptions& options);
// Two decimal integers separated by the first comma; nothing when there is no comma.
std::optional<QPoint> ReadIntPair(const QString& text);
// "%.5d%.5d": x from characters 0-4, y from 5-9. Empty text means centred (-1, -1).
QPoint ReadPosition(const QString& text);
// The text ReadPosition reads back as position; a negative coordinate (centred) gives the empty text.
QString FormatPosition(QPoint position);
// Splits backquote-terminated fields into exactly count fields.
QStringList SplitFields(const QString& text, qsizetype count);
// On when absent or equal to 1, off for any other value.
bool SourceSwitch(const SettingsStore& store, const QString& name);

} // namespace tvl
