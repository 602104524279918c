#pragma once

#include <QString>
#include <optional>

namespace tvl {

// How reading a design file ended.
struct DesignReadOutcome
{
    enum class Status
    {
        Read,
        Refused, // a version this program cannot read; its message was shown
        Failed,  // damaged or unreadable content
    };
    Status status = Status::Read;
    QString message;
    int stage = 0;
};

// The dialogs and messages the file commands need; the application shows them.
class FileCommandsUi
{
public:
    enum class SaveAnswer
    {
        Yes,
        No,
        Cancel,
    };

    virtual ~FileCommandsUi() = default;
    // "Save changes to <title>?" with Yes, No and Cancel; closing the box answers Cancel.
    virtual SaveAnswer AskSaveChanges(const QString& title) = 0;
    // A stop message with an OK button.
    virtual void ShowError(const QString& text) = 0;
    virtual std::optional<QString> ChooseOpenPath(const QString& folder) = 0;
    virtual std::optional<QString> ChooseSavePath(const QString& folder, const QString& fileName) = 0;
    // The New Document dialog: 11, 21, 31, 41 with "Use Default Template." ticked, 10 … 40 without,
    // nothing when cancelled.
    virtual std::optional<int> ChooseNewDesign() = 0;
    virtual void AddRecentFile(const QString& path) = 0;
};

// The live design as the file commands see it. Reading replaces the live design only when it
// succeeds; a failed or refused read leaves the design the user had.
class DesignStore
{
public:
    virtual ~DesignStore() = default;
    // title is the document's title before the read; reading a default design fills the sample album
    // and changes it to "Untitled.tvl".
    virtual DesignReadOutcome Read(const QString& path, QString& title) = 0;
    // Writes the design to path through a temporary file; when that failed, which file and why (the system's
    // reason), shown below the command's own message. A failed write leaves the old file as it was.
    virtual std::optional<QString> Write(const QString& path) = 0;
    // A blank design of the current disc mode and case kind, built from the current label stocks.
    virtual void BuildBlankDesign() = 0;
    // The disc mode ("Single", "Double") and case kind ("Jewel", "DVD") of the open design; setting them
    // chooses the kind of the next blank design.
    virtual QString DiscMode() const = 0;
    virtual QString CaseKind() const = 0;
    virtual void SetDesignKind(const QString& discMode, const QString& caseKind) = 0;
    // Whether a design is loaded at all (false before the first design of a run).
    virtual bool HasDesign() const = 0;
};

// The settings the file commands keep: "OpenFile", "SaveFile" and "defTemplate".
class FileSettings
{
public:
    virtual ~FileSettings() = default;
    virtual QString ReadString(const QString& key) = 0;
    virtual void WriteString(const QString& key, const QString& value) = 0;
};

} // namespace tvl
