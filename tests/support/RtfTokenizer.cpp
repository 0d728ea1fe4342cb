#include "tests/support/RtfTokenizer.h"
