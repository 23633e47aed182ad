// The base of Slate's application (SlateCore): what SlateCore code may ask of the application, and the static
// platform application. Evidence: the 5.5 API page of FSlateApplicationBase::PlatformApplication
// ("static TSharedPtr<class GenericApplication> PlatformApplication = nullptr;", application_version=5.5, access
// level not shown) and the engine's header [SRC], where the member is protected and reached through the public
// GetPlatformApplication(). The current API pages also list a "virtual const TSharedPtr<GenericApplication>
// GetPlatformApplication() const" overload; it is UNCONFIRMED for 5.5 and not declared here.
#pragma once

#include "CoreMinimal.h"
#include "GenericPlatform/GenericApplication.h"
#include "GenericPlatform/ICursor.h"

class SWindow;

class SLATECORE_API FSlateApplicationBase
{
public:
	FSlateApplicationBase();
	virtual ~FSlateApplicationBase();

	/** The application; Slate must be initialised. */
	static FSlateApplicationBase& Get()
	{
		checkf(CurrentBaseApplication.IsValid(), TEXT("Slate is not initialised"));
		return *CurrentBaseApplication;
	}

	/** Whether Slate is initialised. */
	static bool IsInitialized() { return CurrentBaseApplication.IsValid(); }

	/** Whether the application is active (one of its windows has the operating system's focus). */
	virtual bool IsActive() const = 0;

protected:
	/** Holds a pointer to the current application. */
	static TSharedPtr<FSlateApplicationBase> CurrentBaseApplication;

	/** Holds a pointer to the platform application. */
	static TSharedPtr<class GenericApplication> PlatformApplication;

public:
	TSharedPtr<ICursor> GetPlatformCursor() { return PlatformApplication->Cursor; }

	TSharedPtr<class GenericApplication> GetPlatformApplication() { return PlatformApplication; }
};
