#pragma once

#include "document/commands/DocumentFileState.h"
#include "document/design/DesignChange.h"
#include "document/files/DesignFile.h"
#include "document/history/HistoryHost.h"
#include "document/history/UndoHistory.h"
#include "document/model/DiscPlacement.h"
#include "document/model/LabelDesign.h"
#include "document/model/RichText.h"

#include <QRect>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace tvl {

class AutoFitter;
class EditScope;

// An integer or text property of an item that the properties bar sets.
enum class ItemProperty
{
    TextMargin,
    AspectRatio,
    LinkText,
    AutoFit,
    Background,
    Angle,
    WrapStyle,
    Alignment,
    TrackNumbers,
    TextLayout,
};

// The open design and everything that belongs to it alone: the items and header, the undo history, the
// file state and the live state (disc mode, case kind, disc position mode, current surface, selection).
// Each fact has this one owner; views, dialogs and command-line verbs read it here. Every change a user
// makes goes through one of the edit operations below, which opens and closes its own undo step and then
// tells the listeners what it touched.
class DesignDocument final : private HistoryHost
{
public:
    DesignDocument();
    ~DesignDocument() override;
    DesignDocument(const DesignDocument&) = delete;
    DesignDocument& operator=(const DesignDocument&) = delete;

    const LabelDesign& design() const { return m_design; }
    // For code that builds or reads a whole design (file commands, stocks); edits use the operations.
    LabelDesign& MutableDesign() { return m_design; }
    UndoHistory& history() { return m_history; }
    const UndoHistory& history() const { return m_history; }
    DocumentFileState& file() { return m_file; }
    const DocumentFileState& file() const { return m_file; }
    bool HasDesign() const { return !m_design.itemList.empty(); }

    const QString& discMode() const { return m_discMode; }
    const QString& caseKind() const { return m_caseKind; }
    bool IsDouble() const { return m_discMode == u"Double"; }
    void SetDesignKind(const QString& discMode, const QString& caseKind);
    DiscPositionMode discPositionMode() const { return m_discPosition; }
    void SetDiscPositionMode(DiscPositionMode mode) override;
    const QString& currentSurface() const { return m_currentSurface; }
    const QString& currentPageCode() const { return m_currentPageCode; }
    // Makes a surface current; listeners hear of it through SurfaceShown. The current surface and, in a
    // design with items, an unknown name change nothing.
    void ShowSurface(const QString& surface);
    const QString& selectedName() const { return m_selected; }
    const CRichChild* Selected() const { return m_design.FindItem(m_selected); }
    void Select(const QString& name);
    // What a design file stores of the live state.
    LiveDesignState LiveState() const;

    // Around putting a design just read or built in place of the open one (through MutableDesign):
    // recording stops and the history and selection are cleared; at the end the live state is taken
    // over, the design is not modified, recording resumes and every listener hears that all changed.
    void BeginReplace();
    void EndReplace(const LiveDesignState& live);

    void AddListener(DesignListener* listener);
    void RemoveListener(DesignListener* listener);
    // Finds the heights AutoFit gives texts; without it the stored heights stay as they are. Every edit
    // stores the fitted heights of the texts on the surfaces it touched, inside its own undo step, and a
    // replaced design gets them before it shows; drawing never writes them.
    void SetAutoFitter(AutoFitter* fitter) { m_autoFitter = fitter; }
    // Loads a picture again from the item's imagePath for undo; without it pictures stay as they are.
    void SetPictureLoader(std::function<bool(CRichChild&)> loader) { m_pictureLoader = std::move(loader); }

    // Steps closed since the design was read, built or saved; the recovery copy counts them.
    int editsSinceSave() const { return m_editsSinceSave; }
    void MarkSaved();

    // Edit operations. Names address items; an unknown name changes nothing and records no step.
    bool MoveResize(const QString& name, const QRect& rect);
    bool SetItemProperty(const QString& name, ItemProperty property, int value);
    bool SetItemProperty(const QString& name, ItemProperty property, const QString& value);
    // Replaces count characters from start by text; new characters continue the run they follow.
    bool ReplaceCharacters(const QString& name, int start, int count, const QString& text);
    // Gives a text item new characters and runs (worked out by the text edits); a linked item's album
    // field and every item linked to it follow. The same text changes nothing.
    bool SetRichText(const QString& name, const RichText& text);
    bool SetFontRun(const QString& name, int start, int count, const ItemFont& font);
    bool SetColorRun(const QString& name, int start, int count, ItemColor color);
    bool SetUnderlineRun(const QString& name, int start, int count, bool underline);
    // Inserts at index (the end when negative) under a name made unique from the item's own name.
    CRichChild* InsertItem(std::unique_ptr<CRichChild> item, int index = -1);
    bool DeleteItem(const QString& name);
    bool MoveInOrder(const QString& name, int index);
    bool BringToFront(const QString& name);
    // Sets one album field; every linked item follows.
    bool SetAlbumField(const QString& key, const QString& value);
    // Sets album fields in the order given as one step (an album read from a disc); false, with nothing
    // changed, when a key names no album field.
    bool SetAlbumFields(const std::vector<std::pair<QString, QString>>& fields);
    // Gives the surfaces the geometry of the current stocks through apply.
    void ApplyStocks(const std::function<void(LabelDesign&, DiscPositionMode&)>& apply);
    // Makes a picture the background of an area (mode 1 … 4) or an ordinary picture again (0); a
    // background sits directly after its surface's last cover or boundary item.
    bool SetBackground(const QString& name, int mode);

    void Undo();
    void Redo();

private:
    friend class EditScope;

    // HistoryHost
    CRichChild* SelectedItem() override { return m_design.FindItem(m_selected); }
    void ClearSelection() override { m_selected.clear(); }
    void MarkModified() override { m_file.modified = true; }
    void CaretRange(const CRichChild& item, int& start, int& end) override;
    bool ReloadPicture(CRichChild& item) override;
    void ShowAfterUndo(const QString& surface, const QString& itemName, bool select) override;
    bool IsDoubleDesign() const override { return IsDouble(); }

    void Notify(const DesignChange& change);
    // Gives the AutoFit texts on surfaces the height the fitter finds, recorded in the open step when
    // there is one, and tells scope (when given) which items changed.
    void StoreFittedHeights(SurfaceSet surfaces, EditScope* scope);
    void ApplyHistoryStep(bool undo);
    CRichChild* Find(const QString& name) { return m_design.FindItem(name); }

    LabelDesign m_design;
    UndoHistory m_history;
    DocumentFileState m_file;
    QString m_discMode = QStringLiteral("Single");
    QString m_caseKind = QStringLiteral("Jewel");
    DiscPositionMode m_discPosition = DiscPositionMode::DiscOnTop;
    QString m_currentSurface;
    QString m_currentPageCode;
    QString m_selected;
    std::vector<DesignListener*> m_listeners;
    std::function<bool(CRichChild&)> m_pictureLoader;
    AutoFitter* m_autoFitter = nullptr;
    EditScope* m_openScope = nullptr;
    bool m_applyingStep = false;
    bool m_surfaceChanged = false;
    int m_editsSinceSave = 0;
};

} // namespace tvl
