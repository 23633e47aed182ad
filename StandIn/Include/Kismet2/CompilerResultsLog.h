// FCompilerResultsLog (UnrealEd): the messages of a Blueprint compilation. A message's "@@" marks are replaced,
// in order, by the objects or pins given with it (a node by its title, a pin by its name, an object by its name).
#pragma once

#include "CoreMinimal.h"
#include "Logging/TokenizedMessage.h"

class UObject;
class UEdGraphPin;

class UNREALED_API FCompilerResultsLog
{
public:
	/** The messages, in the order they were reported. */
	TArray<TSharedRef<FTokenizedMessage>> Messages;

	/** Number of errors and warnings reported. */
	int32 NumErrors;
	int32 NumWarnings;

	FCompilerResultsLog(bool bIsCompatibleWithEvents = true);
	virtual ~FCompilerResultsLog();

	template<typename... ArgTypes>
	TSharedRef<FTokenizedMessage> Error(const TCHAR* Format, ArgTypes... Args)
	{
		++NumErrors;
		return AddMessage(EMessageSeverity::Error, Format, { DescribeToken(Args)... });
	}

	template<typename... ArgTypes>
	TSharedRef<FTokenizedMessage> Warning(const TCHAR* Format, ArgTypes... Args)
	{
		++NumWarnings;
		return AddMessage(EMessageSeverity::Warning, Format, { DescribeToken(Args)... });
	}

	template<typename... ArgTypes>
	TSharedRef<FTokenizedMessage> Note(const TCHAR* Format, ArgTypes... Args)
	{
		return AddMessage(EMessageSeverity::Info, Format, { DescribeToken(Args)... });
	}

	/** Records that NewObject (an intermediate node, for example) was made from SourceObject. */
	void NotifyIntermediateObjectCreation(UObject* NewObject, UObject* SourceObject);

	/** Records that NewPin (a pin of an intermediate node) stands for SourcePin. */
	void NotifyIntermediatePinCreation(UEdGraphPin* NewPin, UEdGraphPin* SourcePin);

	/** The object (of the graph the user edits) that an intermediate object was made from, or the object itself. */
	UObject* FindSourceObject(UObject* PossiblyDuplicatedObject) const;

	/** The pin an intermediate pin stands for, or the pin itself. */
	UEdGraphPin* FindSourcePin(UEdGraphPin* PossiblyDuplicatedPin) const;

private:
	static FString DescribeToken(const UObject* Object);
	static FString DescribeToken(const UEdGraphPin* Pin);
	static FString DescribeToken(const TCHAR* Text) { return FString(Text); }

	TSharedRef<FTokenizedMessage> AddMessage(EMessageSeverity::Type Severity, const TCHAR* Format, std::initializer_list<FString> Tokens);

	TMap<UObject*, UObject*> SourceBacktrackMap;
	TMap<UEdGraphPin*, UEdGraphPin*> PinBacktrackMap;
};
