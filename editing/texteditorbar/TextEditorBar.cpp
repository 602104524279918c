#include "editing/texteditorbar/TextEditorBar.h"

#include "document/design/AlbumBarText.h"
#include "document/design/DesignDocument.h"
#include "document/design/TrackListEdits.h"
#include "editing/texteditorbar/GrowingTextBox.h"
#include "editing/texteditorbar/TrackGrid.h"
#include "widgets/ErrorReport.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tvl {
namespace {

// The numbers unexpected failures are reported with.
constexpr int kCreateError = 229;
constexpr int kRefreshError = 950;

constexpr const char* kBoxKeys[] = {"Artist", "Title", "Year", "Time", "Genre"};
constexpr int kTimeBox = 3;
constexpr int kMaxListedCount = 99;
constexpr int kSingleCountWidth = 51;
constexpr int kDoubleCountWidth = 71;

// The count box tells when its list closes, which gives the focus back to the label.
class CountBox final : public QComboBox
{
public:
    using QComboBox::QComboBox;
    std::function<void()> onListClosed;

    void hidePopup() override
    {
        QComboBox::hidePopup();
        if (onListClosed)
            onListClosed();
    }
};

// The keys the count box takes as typing: digits and the few that edit them.
bool CountKeyAllowed(const QKeyEvent& key)
{
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    switch (key.key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Left:
    case Qt::Key_Right:
        return true;
    default:
        return key.key() >= Qt::Key_0 && key.key() <= Qt::Key_9;
    }
}

} // namespace

TextEditorBar::TextEditorBar(DesignDocument& document, TextEditorBarPorts ports, QWidget* parent)
    : QWidget(parent)
    , m_document(document)
    , m_ports(std::move(ports))
{
    Guarded(kCreateError, [&] {
        auto* layout = new QVBoxLayout(this);
        for (int field = 0; field < kBoxCount; ++field) {
            m_labels[field] = new QLabel(this);
            m_boxes[field] = new GrowingTextBox(this);
            m_labels[field]->setBuddy(m_boxes[field]);
            m_boxes[field]->onUndoKey = [this](bool redo) { m_ports.undoInView(redo); };
            m_boxes[field]->onFocusIn = [this] { SelectPage(); };
            connect(m_boxes[field], &QPlainTextEdit::textChanged, this, [this, field] { BoxEdited(field); });
            layout->addWidget(m_labels[field]);
            layout->addWidget(m_boxes[field]);
        }

        auto* count = new CountBox(this);
        m_count = count;
        m_countLabel = new QLabel(this);
        m_countLabel->setBuddy(m_count);
        m_count->setEditable(true);
        m_count->setInsertPolicy(QComboBox::NoInsert);
        for (int n = 1; n <= kMaxListedCount; ++n)
            m_count->addItem(QString::number(n));
        m_count->setFixedWidth(kSingleCountWidth);
        m_count->lineEdit()->installEventFilter(this);
        m_count->installEventFilter(this);
        count->onListClosed = [this] {
            if (m_ports.focusView)
                m_ports.focusView();
        };
        connect(m_count, &QComboBox::activated, this, [this](int index) { SetTrackCount(index + 1); });
        layout->addWidget(m_countLabel);
        layout->addWidget(m_count);

        m_gridLabel = new QLabel(this);
        m_grid = new TrackGrid(document, this);
        m_gridLabel->setBuddy(&m_grid->table());
        m_grid->onUndoKey = [this](bool redo) { m_ports.undoInView(redo); };
        m_grid->onFocusIn = [this] { SelectPage(); };
        layout->addWidget(m_gridLabel);
        layout->addWidget(m_grid, 1);

        ShowKeys();
        RefreshAll();
        m_document.AddListener(this);
    });
}

TextEditorBar::~TextEditorBar()
{
    m_document.RemoveListener(this);
}

QString TextEditorBar::TrackListKey() const
{
    return QStringLiteral("Track List") + m_suffix;
}

void TextEditorBar::ShowKeys()
{
    for (int field = 0; field < kBoxCount; ++field) {
        const QString key = QString::fromLatin1(kBoxKeys[field]) + m_suffix;
        const QString text = field == kTimeBox && !m_suffixChanged ? QStringLiteral("Total Time") : key;
        m_labels[field]->setText(text);
        m_boxes[field]->setAccessibleName(text);
    }
    m_countLabel->setText(QStringLiteral("Tracks") + m_suffix);
    m_count->setAccessibleName(QStringLiteral("Tracks") + m_suffix);
    m_gridLabel->setText(TrackListKey());
    m_grid->SetKey(TrackListKey());
}

void TextEditorBar::SetDiscContext(const QString& itemName)
{
    const QString suffix = DiscSuffixFor(itemName, m_document.IsDouble(), m_suffix);
    if (suffix == m_suffix)
        return;
    m_suffix = suffix;
    m_suffixChanged = true;
    m_count->setFixedWidth(m_document.IsDouble() ? kDoubleCountWidth : kSingleCountWidth);
    ShowKeys();
    RefreshAll();
    if (m_ports.setCaption)
        m_ports.setCaption(QStringLiteral("Text Editor") + m_suffix);
}

void TextEditorBar::RefreshAll()
{
    for (const char* key : kBoxKeys)
        RefreshField(QString::fromLatin1(key) + m_suffix);
    RefreshField(TrackListKey());
}

void TextEditorBar::RefreshField(const QString& key)
{
    Guarded(kRefreshError, [&](int& step) {
        step = 1;
        const QString field = key.left(key.indexOf(u'('));
        const QString value = m_document.design().LinkedAlbumText(field);
        step = 2;
        if (field.startsWith(u"Track List")) {
            if (field != TrackListKey())
                return;
            step = 3;
            m_grid->Show(value);
            step = 4;
            const int tracks = TrackCount(value);
            if (m_count->lineEdit()->text() != QString::number(tracks)) {
                if (tracks >= 1 && tracks <= kMaxListedCount)
                    m_count->setCurrentIndex(tracks - 1);
                m_count->setEditText(QString::number(tracks));
            }
            return;
        }
        step = 5;
        for (int box = 0; box < kBoxCount; ++box) {
            if (QString::fromLatin1(kBoxKeys[box]) + m_suffix != field)
                continue;
            // The box being typed in already shows the value; setting it again would move its caret.
            if (ValueFromBoxText(m_boxes[box]->toPlainText()) == value)
                return;
            step = 6;
            m_refreshing = true;
            m_boxes[box]->setPlainText(BoxTextFromValue(value));
            m_refreshing = false;
        }
    });
}

void TextEditorBar::BoxEdited(int field)
{
    if (m_refreshing)
        return;
    SetFieldFromBox(m_document, QString::fromLatin1(kBoxKeys[field]) + m_suffix,
                    m_boxes[field]->toPlainText());
}

void TextEditorBar::SetTrackCount(int count)
{
    tvl::SetTrackCount(m_document, TrackListKey(), count, m_suffix);
    // A count the list already has changes nothing, but the box shows the list's count again.
    m_count->setEditText(QString());
    RefreshField(TrackListKey());
}

void TextEditorBar::SelectPage()
{
    const QString page = QStringLiteral("Page ") + m_document.currentPageCode();
    if (m_document.selectedName() != page && m_document.design().FindItem(page))
        m_document.Select(page);
}

void TextEditorBar::DesignChanged(const DesignChange& change)
{
    if (change.replaced)
        SetDiscContext(m_document.selectedName());
    RefreshAll();
}

void TextEditorBar::SelectionChanged()
{
    SetDiscContext(m_document.selectedName());
}

bool TextEditorBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_count && event->type() == QEvent::FocusIn)
        SelectPage();
    if (watched != m_count->lineEdit())
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn)
        SelectPage();
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
            (key->modifiers() == Qt::ControlModifier && key->key() == Qt::Key_Y)) {
            event->accept();
            return true;
        }
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
        (key->modifiers() == Qt::ControlModifier && key->key() == Qt::Key_Y)) {
        m_ports.undoInView(!key->matches(QKeySequence::Undo));
        return true;
    }
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // An emptied box names no count; cutting the list to one track would lose it.
        if (m_count->lineEdit()->text().isEmpty())
            RefreshField(TrackListKey());
        else
            SetTrackCount(ParseTrackCount(m_count->lineEdit()->text()));
        if (m_ports.focusView)
            m_ports.focusView();
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
    case Qt::Key_F4:
        return false;
    case Qt::Key_Down:
        // Alt+Down opens the list for the keyboard.
        return !(key->modifiers() & Qt::AltModifier);
    default:
        return !CountKeyAllowed(*key);
    }
}

} // namespace tvl
