#pragma once

#include "print/job/PrintJob.h"

namespace tvl {

struct AppSettings;
struct PrintOptions;

// The print options as kept in the setting PrintOptions.
PrintOptionsSet PrintOptionsFromSettings(const PrintOptions& stored);
PrintOptions PrintOptionsToSettings(const PrintOptionsSet& options);

// A job with the options, labels and calibration the user keeps, one copy.
PrintJob StoredPrintJob(const AppSettings& settings, bool doubleDisc);

} // namespace tvl
