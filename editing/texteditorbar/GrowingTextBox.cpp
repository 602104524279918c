#include "editing/texteditorbar/GrowingTextBox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextDocument>

namespace tvl {

GrowingTextBox::GrowingTextBox(QWidget* parent)
    : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
    setUndoRedoEnabled(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(this, &QPlainTextEdit::textChanged, this, [this] { FitHeight(); });
    FitHeight();
}

int GrowingTextBox::FittingHeight() const
{
    // The plain text layout measures its document in lines, wrapped ones included.
    const auto lines = std::max<qreal>(1.0, document()->size().height());
    const QMargins margins = contentsMargins();
    return static_cast<int>(lines) * fontMetrics().lineSpacing() +
           2 * static_cast<int>(document()->documentMargin()) + margins.top() + margins.bottom();
}

void GrowingTextBox::FitHeight()
{
    if (!grows)
        return;
    const int height = FittingHeight();
    if (minimumHeight() != height || maximumHeight() != height)
        setFixedHeight(height);
}

int GrowingTextBox::UndoKey(const QKeyEvent& key)
{
    if (key.matches(QKeySequence::Undo))
        return 0;
    if (key.matches(QKeySequence::Redo) || (key.modifiers() == Qt::ControlModifier && key.key() == Qt::Key_Y))
        return 1;
    return -1;
}

bool GrowingTextBox::event(QEvent* event)
{
    // The window's own Undo and Redo shortcuts would otherwise not reach a focused text box.
    if (event->type() == QEvent::ShortcutOverride && UndoKey(*static_cast<QKeyEvent*>(event)) >= 0) {
        event->accept();
        return true;
    }
    return QPlainTextEdit::event(event);
}

void GrowingTextBox::keyPressEvent(QKeyEvent* event)
{
    const int undo = UndoKey(*event);
    if (undo >= 0) {
        if (onUndoKey)
            onUndoKey(undo == 1);
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void GrowingTextBox::focusInEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusInEvent(event);
    if (onFocusIn)
        onFocusIn();
}

void GrowingTextBox::focusOutEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusOutEvent(event);
    if (onFocusOut)
        onFocusOut(QApplication::focusWidget());
}

void GrowingTextBox::resizeEvent(QResizeEvent* event)
{
    QPlainTextEdit::resizeEvent(event);
    FitHeight();
}

} // namespace tvl
