#include "KorvatPlatformApplication.h"

#include "KorvatVirtualCursor.h"

FKorvatPlatformApplication::FKorvatPlatformApplication(const TSharedPtr<GenericApplication>& InWrapped)
	: GenericApplication(MakeShared<FKorvatVirtualCursor>())
	, Wrapped(InWrapped)
{
	check(Wrapped.IsValid());
}

void FKorvatPlatformApplication::SetMessageHandler(const TSharedRef<FGenericApplicationMessageHandler>& InMessageHandler)
{
	// Kept here too, so that GetMessageHandler answers alike on both.
	GenericApplication::SetMessageHandler(InMessageHandler);
	Wrapped->SetMessageHandler(InMessageHandler);
}
