// FOutputDeviceRedirector: the global log (GLog). Everything serialized to it, and every UE_LOG line, reaches the
// stand-in's log capture (StandInTesting::GetLogLines, echoed to stderr like UE_LOG) and then every device added
// with AddOutputDevice, in the order they were added. Lines are delivered at once on the calling thread (the
// engine buffers lines from secondary threads until the primary thread flushes them).
#pragma once

#include "HAL/Platform.h"
#include "Misc/OutputDevice.h"
#include "UObject/NameTypes.h"

class CORE_API FOutputDeviceRedirector final : public FOutputDevice
{
public:
	FOutputDeviceRedirector();
	~FOutputDeviceRedirector();

	/** The GLog singleton. */
	static FOutputDeviceRedirector* Get();

	/** Adds a device to the chain of redirections (once; adding it again does nothing). */
	void AddOutputDevice(FOutputDevice* OutputDevice);
	void RemoveOutputDevice(FOutputDevice* OutputDevice);
	bool IsRedirectingTo(FOutputDevice* OutputDevice);

	void Serialize(const TCHAR* Data, ELogVerbosity::Type Verbosity, const FName& Category, const double Time) override;
	void Serialize(const TCHAR* Data, ELogVerbosity::Type Verbosity, const FName& Category) override;

	/** Same as Serialize(). */
	void RedirectLog(const FName& Category, ELogVerbosity::Type Verbosity, const TCHAR* Data);

	/** Passes the flush on to every device. */
	void Flush() override;
	/** Flushes and tears down every device, then forgets them. */
	void TearDown() override;
};
