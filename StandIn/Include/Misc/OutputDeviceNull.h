// FOutputDeviceNull: an output device that drops everything written to it.
#pragma once

#include "Misc/OutputDevice.h"

class FOutputDeviceNull : public FOutputDevice
{
public:
	virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const class FName& Category) override
	{
		(void)V;
		(void)Verbosity;
		(void)Category;
	}
};
