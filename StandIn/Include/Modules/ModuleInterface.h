#pragma once

#include "HAL/Platform.h"

/** The interface every module object implements; all operations have engine defaults. */
class IModuleInterface
{
public:
	virtual ~IModuleInterface() {}

	/** Called right after the module object is created. */
	virtual void StartupModule() {}
	virtual void PreUnloadCallback() {}
	virtual void PostLoadCallback() {}
	/** Called before the module object is destroyed. */
	virtual void ShutdownModule() {}
	virtual bool SupportsDynamicReloading() { return true; }
	virtual bool SupportsAutomaticShutdown() { return true; }
	virtual bool IsGameModule() const { return false; }
};
