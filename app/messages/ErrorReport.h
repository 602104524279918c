#pragma once

// The numbered error reports live with the widgets, so the label view and the bars report theirs too.
#include "document/files/FileResult.h"
#include "widgets/ErrorReport.h"
