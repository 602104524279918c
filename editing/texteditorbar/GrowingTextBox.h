#pragma once

#include <QPlainTextEdit>
#include <functional>

namespace tvl {

// A multi-line text box of the Text Editor bar: as tall as its lines, Tab moves the focus on, and undo and
// redo are the design's, not the box's own.
class GrowingTextBox : public QPlainTextEdit
{
public:
    explicit GrowingTextBox(QWidget* parent = nullptr);

    // A box that floats over other controls keeps the height it is given.
    bool grows = true;
    // Ctrl+Z (redo false) and Ctrl+Y (redo true) typed in the box.
    std::function<void(bool redo)> onUndoKey;
    std::function<void()> onFocusIn;
    std::function<void(QWidget* next)> onFocusOut;

    // The height that shows every line of the text at the box's width.
    int FittingHeight() const;
    // Takes the height that shows every line.
    void FitHeight();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    static int UndoKey(const QKeyEvent& key);
};

} // namespace tvl
