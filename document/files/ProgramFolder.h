#pragma once

#include <QString>

namespace tvl {

// The folder of the program's own files (catalogues, printer settings, export choices, default designs):
// the user's data folder, XDG_DATA_HOME/Tovrelline, created when missing. Ends with "/".
QString ProgramFolder();

} // namespace tvl
