#include "document/design/RecoveryKeeper.h"

#include "document/design/DesignDocument.h"
#include "document/files/RecoveryCopy.h"

namespace tvl {

RecoveryKeeper::RecoveryKeeper(DesignDocument& document, RecoveryCopy& copy)
    : m_document(document)
    , m_copy(copy)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(kIntervalMs);
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { WriteNow(); });
    m_document.AddListener(this);
}

RecoveryKeeper::~RecoveryKeeper()
{
    m_document.RemoveListener(this);
}

void RecoveryKeeper::WriteNow()
{
    m_timer.stop();
    m_editsSinceCopy = 0;
    if (!m_document.file().modified || !m_document.HasDesign())
        return;
    // A copy that cannot be written is tried again with the next edits; the design itself is untouched.
    if (m_copy.Write(m_document.MutableDesign(), m_document.LiveState(), m_document.file().path))
        ++m_copiesWritten;
}

void RecoveryKeeper::Discard()
{
    m_timer.stop();
    m_editsSinceCopy = 0;
    m_copy.Remove();
}

void RecoveryKeeper::DesignChanged(const DesignChange& change)
{
    if (change.replaced) {
        Discard();
        return;
    }
    if (++m_editsSinceCopy >= kEditsPerCopy)
        WriteNow();
    else if (!m_timer.isActive())
        m_timer.start();
}

} // namespace tvl
