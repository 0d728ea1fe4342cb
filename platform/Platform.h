#pragma once

#include "platform/Files.h"
#include "platform/FolderChooser.h"
#include "platform/Libraries.h"
#include "platform/Registry.h"
#include "platform/Resources.h"
#include "platform/Waiting.h"

// The system services the wizard's logic uses, one interface per concern.
struct Platform {
    Registry& registry;
    Libraries& libraries;
    FolderChooser& folderChooser;
    Resources& resources;
    Files& files;
    Waiting& waiting;
};
