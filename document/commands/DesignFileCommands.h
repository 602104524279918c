#pragma once

#include "document/commands/DocumentFileState.h"
#include "document/commands/FileCommandPorts.h"

namespace tvl {

// The File commands (New, Open, Save, Save As, Save As Default Design, recent files) and the start-up
// and default designs. Decides which file, when, and what happens around reading and writing; the
// reading and writing themselves are the store's.
class DesignFileCommands
{
public:
    DesignFileCommands(DocumentFileState& file, DesignStore& store, FileCommandsUi& ui,
                       FileSettings& settings, QString programFolder);

    // True when the program may close or replace the design: nothing unsaved, the user declined to
    // save, or the save succeeded. Cancel, a cancelled Save As and a failed save keep everything.
    bool QuerySaveChanges();

    void New();
    void Open();
    // True when the design was written.
    bool Save();
    bool SaveAs();
    bool SaveAsDefaultDesign();
    // Opens a recent file or a file handed over while running; does not ask about unsaved changes.
    bool OpenDesignPath(const QString& path);
    // Loads the default design whose file name is the title.
    void LoadDefaultDesign();
    // At start-up: the file named on the command line (empty for none), else the default design named
    // by "defTemplate".
    void LoadStartupDesign(const QString& commandLinePath);

    QString DefaultDesignPath(const QString& name) const;

private:
    // Where Open and Save As start: the folder remembered under rememberedKey, else the folder of the
    // design's own file, else the user's documents folder.
    QString DialogFolder(const QString& rememberedKey);
    bool ReadUserFile(const QString& path);
    bool ReadDefaultFile(const QString& path);
    // The file just read is the design's file now: path, title (as the read left it), recent list.
    void TakeReadFile(const QString& path, const QString& title);
    bool WriteTo(const QString& path);
    void BuildBlank();
    // The one automatic fallback: a single jewel design from "Default.tvl".
    void TakeFallback();

    DocumentFileState& m_file;
    DesignStore& m_store;
    FileCommandsUi& m_ui;
    FileSettings& m_settings;
    QString m_programFolder;
};

} // namespace tvl
