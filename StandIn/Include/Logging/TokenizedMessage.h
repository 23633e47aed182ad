// FTokenizedMessage (Core): one message of a message log (a compiler's, for example), with its severity.
#pragma once

#include "CoreMinimal.h"

namespace EMessageSeverity
{
	/** Ordered according to their severity */
	enum Type : int
	{
		Error = 1,
		PerformanceWarning = 2,
		Warning = 3,
		Info = 4,
	};
}

class CORE_API FTokenizedMessage : public TSharedFromThis<FTokenizedMessage>
{
public:
	/** Creates a message of a severity with a text. */
	static TSharedRef<FTokenizedMessage> Create(EMessageSeverity::Type InSeverity, const FText& InMessageText = FText());

	/** The message as text. */
	FText ToText() const;

	EMessageSeverity::Type GetSeverity() const { return Severity; }
	void SetSeverity(const EMessageSeverity::Type InSeverity) { Severity = InSeverity; }

private:
	FTokenizedMessage() = default;

	EMessageSeverity::Type Severity = EMessageSeverity::Info;
	FText Text;
};
