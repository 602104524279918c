#include "editing/insert/InsertCommands.h"

#include "document/design/DesignDocument.h"
#include "document/design/InsertEdits.h"
#include "document/design/NewItems.h"

#include <QFileInfo>
#include <QMenu>

namespace tvl {

QString InsertBaseName(InsertKind kind)
{
    switch (kind) {
    case InsertKind::Artist:
        return QStringLiteral("Artist");
    case InsertKind::Title:
        return QStringLiteral("Title");
    case InsertKind::Track:
        return QStringLiteral("Track List");
    case InsertKind::Year:
        return QStringLiteral("Year");
    case InsertKind::TotalTime:
        return QStringLiteral("Time");
    case InsertKind::Genre:
        return QStringLiteral("Genre");
    case InsertKind::Text:
        return QStringLiteral("Text");
    case InsertKind::Image:
        break;
    }
    return QStringLiteral("Image");
}

QString InsertCaption(InsertKind kind)
{
    switch (kind) {
    case InsertKind::Track:
        return QStringLiteral("Track");
    case InsertKind::TotalTime:
        return QStringLiteral("Total Time");
    default:
        return InsertBaseName(kind);
    }
}

InsertCommands::InsertCommands(DesignDocument& document, InsertPorts ports)
    : m_document(document)
    , m_ports(std::move(ports))
{
    m_document.AddListener(this);
}

InsertCommands::~InsertCommands()
{
    m_document.RemoveListener(this);
}

void InsertCommands::DesignChanged(const DesignChange& change)
{
    // Each design starts by asking about disc 1.
    if (change.replaced)
        m_lastDisc = 1;
}

bool InsertCommands::Insert(InsertKind kind, std::optional<QPoint> at)
{
    if (!m_document.HasDesign())
        return false;
    QString name = InsertBaseName(kind);
    const QSize size = NewItemSize(name);
    const QRect rect = at ? CentredOn(*at, size)
                          : PlaceNewItem(m_document.design(), m_document.currentSurface(),
                                         m_document.Selected(), size, true, m_ports.jitter);

    const bool albumField = kind != InsertKind::Text && kind != InsertKind::Image;
    if (albumField && m_document.IsDouble()) {
        const int disc =
            m_ports.whichDisc(QStringLiteral("Which disc do you want this data attached to?"), m_lastDisc);
        if (disc != 1 && disc != 2)
            return false;
        name += QStringLiteral(" - Disc %1").arg(disc);
    }

    if (kind != InsertKind::Image)
        return CreateTextItem(m_document, name, rect, true) != nullptr;

    const QString path = m_ports.chooseImage(m_ports.imageFolder());
    if (path.isEmpty())
        return false;
    m_ports.setImageFolder(QFileInfo(path).absolutePath());
    QString error;
    const auto load = [&](CRichChild& item) {
        error = m_ports.loadPicture(item);
        return error.isEmpty();
    };
    if (CreatePictureItem(m_document, rect, path, load))
        return true;
    if (!error.isEmpty() && m_ports.reportPictureError)
        m_ports.reportPictureError(error);
    return false;
}

void InsertCommands::FillInsertMenu(QMenu& menu, QPoint at)
{
    for (const InsertKind kind : kInsertKinds) {
        QAction* action = menu.addAction(InsertCaption(kind));
        QObject::connect(action, &QAction::triggered, &menu, [this, kind, at] { Insert(kind, at); });
    }
}

} // namespace tvl
