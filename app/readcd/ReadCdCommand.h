#pragma once

class QWidget;

namespace tvl {

class DesignDocument;
struct ReadCdSession;

// The Read CD command: lists the drives and runs the Read CD dialog over the open design, or says that
// there is no drive.
void RunReadCd(ReadCdSession& session, DesignDocument& document, QWidget* window);

} // namespace tvl
