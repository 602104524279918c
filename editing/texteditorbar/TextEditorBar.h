#pragma once

#include "document/design/DesignChange.h"

#include <QWidget>
#include <array>
#include <functional>

class QComboBox;
class QLabel;

namespace tvl {

class DesignDocument;
class GrowingTextBox;
class TrackGrid;

// What the bar asks of the window around it.
struct TextEditorBarPorts
{
    // Gives the keyboard focus to the label view.
    std::function<void()> focusView;
    // Ctrl+Z or Ctrl+Y typed in the bar: the view takes the focus and undoes or redoes there.
    std::function<void(bool redo)> undoInView;
    std::function<void(const QString& caption)> setCaption;
};

// The "Text Editor" bar: the album data of the design as plain text, one box per field, the number of
// tracks and the track grid. Every keystroke is one album edit that every linked item follows; in a "Double"
// design the bar edits disc 1 or disc 2, as the item selected on the label says.
class TextEditorBar final : public QWidget, private DesignListener
{
public:
    TextEditorBar(DesignDocument& document, TextEditorBarPorts ports, QWidget* parent = nullptr);
    ~TextEditorBar() override;

    // Takes the disc suffix the named item asks for; when it changes, every label, key and field follows.
    void SetDiscContext(const QString& itemName);
    // Shows the album field of a key (cut before its first "(") where the bar shows it.
    void RefreshField(const QString& key);
    const QString& discSuffix() const { return m_suffix; }

    // Applies a number of tracks typed or chosen in the count box.
    void SetTrackCount(int count);

    TrackGrid& grid() { return *m_grid; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void DesignChanged(const DesignChange& change) override;
    void SelectionChanged() override;
    void RefreshAll();
    void ShowKeys();
    void BoxEdited(int field);
    void SelectPage();
    QString TrackListKey() const;

    // Artist, Title, Year, Time, Genre.
    static constexpr int kBoxCount = 5;

    DesignDocument& m_document;
    TextEditorBarPorts m_ports;
    QString m_suffix;
    bool m_suffixChanged = false;
    std::array<QLabel*, kBoxCount> m_labels{};
    std::array<GrowingTextBox*, kBoxCount> m_boxes{};
    QLabel* m_countLabel = nullptr;
    QComboBox* m_count = nullptr;
    QLabel* m_gridLabel = nullptr;
    TrackGrid* m_grid = nullptr;
    bool m_refreshing = false;
};

} // namespace tvl
