#include "fuzz/support/ImageFuzzInput.h"

TOVRELLINE_IMAGE_FUZZER(tvl::CXIMAGE_FORMAT_BMP)
