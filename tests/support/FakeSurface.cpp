#include "tests/support/FakeSurface.h"
