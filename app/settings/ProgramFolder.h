#pragma once

#include <QString>

namespace tvl {

// The folder holding the program's own files of this user (catalogues, printer settings, export choices,
// default designs): $XDG_DATA_HOME/Tovrelline. It is not created here.
QString ProgramFolder();

} // namespace tvl
