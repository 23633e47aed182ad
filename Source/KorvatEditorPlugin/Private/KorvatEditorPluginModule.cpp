// The editor module. It loads after the runtime module in editor builds; its Blueprint nodes and details
// customisation register here as they are added.
#include "Modules/ModuleManager.h"

IMPLEMENT_MODULE(FDefaultModuleImpl, KorvatEditorPlugin)
