#include "document/commands/DesignFileCommands.h"

#include "document/commands/DefaultDesigns.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace tvl {
namespace {

const QString kOpenError = QStringLiteral("Error opening file.");
const QString kSaveError = QStringLiteral("Error saving file.");
const QString kDefaultSaveError = QStringLiteral("Error saving the default file.");

bool IsReadable(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isReadable();
}

// The desktop's documents folder, or the home folder where there is none, ending in '/'.
QString DocumentsFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

} // namespace

DesignFileCommands::DesignFileCommands(DocumentFileState& file, DesignStore& store, FileCommandsUi& ui,
                                       FileSettings& settings, QString programFolder)
    : m_file(file)
    , m_store(store)
    , m_ui(ui)
    , m_settings(settings)
    , m_programFolder(std::move(programFolder))
{
    if (!m_programFolder.endsWith(u'/'))
        m_programFolder += u'/';
}

QString DesignFileCommands::DefaultDesignPath(const QString& name) const
{
    return m_programFolder + name;
}

QString DesignFileCommands::DialogFolder(const QString& rememberedKey)
{
    const QString remembered = m_settings.ReadString(rememberedKey);
    if (!remembered.isEmpty())
        return remembered;
    // A design read from a default file lives in the program's own hidden folder: not a place to offer.
    const QString designFolder = FolderPart(m_file.path);
    if (!designFolder.isEmpty() && designFolder != m_programFolder)
        return designFolder;
    return DocumentsFolder();
}

bool DesignFileCommands::QuerySaveChanges()
{
    if (!m_file.modified)
        return true;
    switch (m_ui.AskSaveChanges(m_file.title)) {
    case FileCommandsUi::SaveAnswer::Cancel:
        return false;
    case FileCommandsUi::SaveAnswer::No:
        m_file.modified = false;
        return true;
    case FileCommandsUi::SaveAnswer::Yes:
        return Save();
    }
    return false;
}

void DesignFileCommands::TakeFallback()
{
    m_file.fallback = false;
    m_store.SetDesignKind(QStringLiteral("Single"), QStringLiteral("Jewel"));
    m_file.modified = false;
    m_file.title = kFallbackDesignName.toString();
}

void DesignFileCommands::BuildBlank()
{
    m_store.SetDesignKind(m_store.DiscMode(), m_store.CaseKind());
    m_store.BuildBlankDesign();
    m_file.modified = false;
}

void DesignFileCommands::New()
{
    if (!QuerySaveChanges())
        return;
    const std::optional<int> choice = m_ui.ChooseNewDesign();
    if (!choice)
        return;
    const int entry = *choice / 10 - 1;
    if (entry < 0 || entry > 3)
        return;
    if (*choice % 10 == 1) {
        m_file.title = DefaultDesignNameForEntry(entry);
        LoadDefaultDesign();
        return;
    }
    m_file.title = kUntitledName.toString();
    m_file.path.clear();
    m_store.SetDesignKind(entry % 2 == 0 ? QStringLiteral("Single") : QStringLiteral("Double"),
                          entry < 2 ? QStringLiteral("Jewel") : QStringLiteral("DVD"));
    BuildBlank();
}

void DesignFileCommands::Open()
{
    if (!QuerySaveChanges())
        return;
    const std::optional<QString> path = m_ui.ChooseOpenPath(DialogFolder(QStringLiteral("OpenFile")));
    if (!path)
        return;
    if (!IsReadable(*path)) {
        m_ui.ShowError(kOpenError);
        return;
    }
    m_settings.WriteString(QStringLiteral("OpenFile"), FolderPart(*path));
    ReadUserFile(*path);
}

bool DesignFileCommands::OpenDesignPath(const QString& path)
{
    if (!IsReadable(path)) {
        m_ui.ShowError(kOpenError);
        return false;
    }
    return ReadUserFile(path);
}

bool DesignFileCommands::ReadUserFile(const QString& path)
{
    QString title = FileNamePart(path);
    const DesignReadOutcome outcome = m_store.Read(path, title);
    if (outcome.status == DesignReadOutcome::Status::Failed)
        m_ui.ShowError(outcome.message);
    if (outcome.status != DesignReadOutcome::Status::Read)
        return false;
    TakeReadFile(path, title);
    return true;
}

void DesignFileCommands::TakeReadFile(const QString& path, const QString& title)
{
    m_file.SetPath(path);
    m_file.title = title;
    m_ui.AddRecentFile(path);
    m_file.modified = false;
    m_file.fallback = true;
}

bool DesignFileCommands::ReadDefaultFile(const QString& path)
{
    QString title = m_file.title;
    const DesignReadOutcome outcome = m_store.Read(path, title);
    if (outcome.status == DesignReadOutcome::Status::Read) {
        TakeReadFile(path, title);
        return true;
    }
    if (m_file.fallback) {
        TakeFallback();
        LoadDefaultDesign();
        if (outcome.status == DesignReadOutcome::Status::Failed)
            SaveAsDefaultDesign();
        return true;
    }
    if (outcome.status == DesignReadOutcome::Status::Failed)
        m_ui.ShowError(outcome.message);
    // A run must end with a usable design even when every default file is damaged.
    if (!m_store.HasDesign())
        BuildBlank();
    return false;
}

void DesignFileCommands::LoadDefaultDesign()
{
    for (;;) {
        if (!QuerySaveChanges())
            return;
        const QString path = DefaultDesignPath(m_file.title);
        if (IsReadable(path)) {
            ReadDefaultFile(path);
            return;
        }
        // A missing default of a chosen kind is made from a blank design of that kind; only "Default.tvl"
        // itself falls back, and a damaged default file falls back when it is read.
        if (const auto kind = DefaultDesignKind(m_file.title))
            m_store.SetDesignKind(kind->first, kind->second);
        else if (m_file.fallback) {
            TakeFallback();
            continue;
        }
        BuildBlank();
        if (!SaveAsDefaultDesign())
            return;
        const QString written = DefaultDesignName(m_store.DiscMode(), m_store.CaseKind());
        m_file.title = written;
        if (IsReadable(DefaultDesignPath(written)))
            ReadDefaultFile(DefaultDesignPath(written));
        return;
    }
}

bool DesignFileCommands::WriteTo(const QString& path)
{
    if (const std::optional<QString> error = m_store.Write(path)) {
        m_ui.ShowError(kSaveError + u'\n' + *error);
        return false;
    }
    m_file.modified = false;
    return true;
}

bool DesignFileCommands::Save()
{
    const QString name = FileNamePart(m_file.path);
    if (name.isEmpty() || IsDefaultDesignName(name))
        return SaveAs();
    return WriteTo(m_file.path);
}

bool DesignFileCommands::SaveAs()
{
    const std::optional<QString> chosen =
        m_ui.ChooseSavePath(DialogFolder(QStringLiteral("SaveFile")), kUntitledName.toString());
    if (!chosen)
        return false;
    const QString path = WithDesignExtension(*chosen);
    if (m_file.path.isEmpty())
        m_file.path = path;
    if (!WriteTo(path))
        return false;
    m_file.SetPath(path);
    m_ui.AddRecentFile(path);
    m_settings.WriteString(QStringLiteral("SaveFile"), FolderPart(path));
    return true;
}

bool DesignFileCommands::SaveAsDefaultDesign()
{
    const QString name = DefaultDesignName(m_store.DiscMode(), m_store.CaseKind());
    m_settings.WriteString(QStringLiteral("defTemplate"), name);
    if (const std::optional<QString> error = m_store.Write(DefaultDesignPath(name))) {
        m_ui.ShowError(kDefaultSaveError + u'\n' + *error);
        return false;
    }
    // A design without a file of its own stays tied to the default file, so its next Save asks for a name.
    if (m_file.path.isEmpty())
        m_file.path = DefaultDesignPath(name);
    else
        m_file.SetPath(m_file.path);
    m_file.modified = false;
    return true;
}

void DesignFileCommands::LoadStartupDesign(const QString& commandLinePath)
{
    if (!QuerySaveChanges())
        return;
    // A named file that cannot be opened or read is reported; the default design is shown instead, so
    // the window never starts without a design.
    if (!commandLinePath.isEmpty() && OpenDesignPath(commandLinePath))
        return;
    QString name = m_settings.ReadString(QStringLiteral("defTemplate"));
    if (name.isEmpty())
        name = QStringLiteral("Default1.tvl");
    m_file.title = name;
    LoadDefaultDesign();
}

} // namespace tvl
