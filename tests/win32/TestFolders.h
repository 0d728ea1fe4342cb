#pragma once

// Kept for the files and libraries tests until they include the support header themselves.
#include "tests/support/TestFolders.h"
