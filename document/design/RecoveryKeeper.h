#pragma once

#include "document/design/DesignChange.h"

#include <QTimer>

namespace tvl {

class DesignDocument;
class RecoveryCopy;

// Keeps the recovery copy of a document with unsaved changes: written after every tenth edit, and
// otherwise at most once a minute while edits wait; dropped when the design is replaced (New, Open),
// saved or closed.
class RecoveryKeeper final : private DesignListener
{
public:
    static constexpr int kEditsPerCopy = 10;
    static constexpr int kIntervalMs = 60 * 1000;

    RecoveryKeeper(DesignDocument& document, RecoveryCopy& copy);
    ~RecoveryKeeper() override;

    // Writes the copy now when the design has unsaved changes.
    void WriteNow();
    // The changes are saved or given up: the copy goes.
    void Discard();
    int copiesWritten() const { return m_copiesWritten; }

private:
    void DesignChanged(const DesignChange& change) override;

    DesignDocument& m_document;
    RecoveryCopy& m_copy;
    QTimer m_timer;
    int m_editsSinceCopy = 0;
    int m_copiesWritten = 0;
};

} // namespace tvl
