#include "fuzz/support/ImageFuzzInput.h"

// EMF files share the metafile format number with WMF; this target starts from EMF seeds.
TOVRELLINE_IMAGE_FUZZER(tvl::CXIMAGE_FORMAT_WMF)
