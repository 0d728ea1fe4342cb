#pragma once

// Kept for the journal's files until they include FolderOf.h themselves.
#include "platform/FolderOf.h"
