// A module in its own shared library, loaded by name through the module manager in the core tests.
#include "CoreMinimal.h"
#include "Modules/ModuleManager.h"

DEFINE_LOG_CATEGORY_STATIC(LogCoreTestModule, Log, All);

class FCoreTestModule : public IModuleInterface
{
public:
	virtual void StartupModule() override { UE_LOG(LogCoreTestModule, Log, TEXT("CoreTestModule started")); }
	virtual void ShutdownModule() override { UE_LOG(LogCoreTestModule, Log, TEXT("CoreTestModule shut down")); }
};

IMPLEMENT_MODULE(FCoreTestModule, CoreTestModule)
