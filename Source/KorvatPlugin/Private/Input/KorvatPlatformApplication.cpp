#include "KorvatPlatformApplication.h"

#include "KorvatVirtualCursor.h"

FKorvatPlatformApplication::FKorvatPlatformApplication(const TSharedPtr<GenericApplication>& InWrapped)
	: GenericApplication(MakeShared<FKorvatVirtualCursor>())
	, Wrapped(InWrapped)
{
	check(Wrapped.IsValid());
	// Slate does not hand the wrapper a message handler when it installs it: start with the wrapped one's, so
	// that GetMessageHandler answers alike on both.
	GenericApplication::SetMessageHandler(Wrapped->GetMessageHandler());
}

void FKorvatPlatformApplication::SetMessageHandler(const TSharedRef<FGenericApplicationMessageHandler>& InMessageHandler)
{
	GenericApplication::SetMessageHandler(InMessageHandler);
	Wrapped->SetMessageHandler(InMessageHandler);
}
