#include "platform/win32/CommonControls.h"

#include "platform/win32/SystemFunctions.h"

void InitialiseCommonControls() {
    if (!ProvideSystemFunctions(SystemGroup::Controls)) return;
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    System().InitCommonControlsEx(&classes);
}
