// The message log of a Blueprint compilation.
#include "Kismet2/CompilerResultsLog.h"

#include "EdGraph/EdGraphNode.h"
#include "EdGraph/EdGraphPin.h"
#include "Templates/Casts.h"

FCompilerResultsLog::FCompilerResultsLog(bool)
	: NumErrors(0)
	, NumWarnings(0)
{
}

FCompilerResultsLog::~FCompilerResultsLog() = default;

FString FCompilerResultsLog::DescribeToken(const UObject* Object)
{
	if (Object == nullptr)
	{
		return FString(TEXT("(null)"));
	}
	if (const UEdGraphNode* Node = Cast<UEdGraphNode>(Object))
	{
		return Node->GetNodeTitle(ENodeTitleType::ListView).ToString();
	}
	return Object->GetName();
}

FString FCompilerResultsLog::DescribeToken(const UEdGraphPin* Pin)
{
	if (Pin == nullptr)
	{
		return FString(TEXT("(null)"));
	}
	return Pin->GetDisplayName().ToString();
}

TSharedRef<FTokenizedMessage> FCompilerResultsLog::AddMessage(EMessageSeverity::Type Severity, const TCHAR* Format, std::initializer_list<FString> Tokens)
{
	// Each "@@" takes the next token; a mark without a token stays as written.
	FString Text;
	const FString* NextToken = Tokens.begin();
	for (const TCHAR* Char = Format; *Char; ++Char)
	{
		if (Char[0] == TEXT('@') && Char[1] == TEXT('@') && NextToken != Tokens.end())
		{
			Text += *NextToken++;
			++Char;
		}
		else
		{
			Text.AppendChar(*Char);
		}
	}
	TSharedRef<FTokenizedMessage> Line = FTokenizedMessage::Create(Severity, FText::FromString(Text));
	Messages.Add(Line);
	return Line;
}

void FCompilerResultsLog::NotifyIntermediateObjectCreation(UObject* NewObject, UObject* SourceObject)
{
	SourceBacktrackMap.Add(NewObject, SourceObject);
}

void FCompilerResultsLog::NotifyIntermediatePinCreation(UEdGraphPin* NewPin, UEdGraphPin* SourcePin)
{
	PinBacktrackMap.Add(NewPin, SourcePin);
}

UObject* FCompilerResultsLog::FindSourceObject(UObject* PossiblyDuplicatedObject) const
{
	UObject* Result = PossiblyDuplicatedObject;
	while (UObject* const* Source = SourceBacktrackMap.Find(Result))
	{
		if (*Source == Result)
		{
			break;
		}
		Result = *Source;
	}
	return Result;
}

UEdGraphPin* FCompilerResultsLog::FindSourcePin(UEdGraphPin* PossiblyDuplicatedPin) const
{
	UEdGraphPin* Result = PossiblyDuplicatedPin;
	while (UEdGraphPin* const* Source = PinBacktrackMap.Find(Result))
	{
		if (*Source == Result)
		{
			break;
		}
		Result = *Source;
	}
	return Result;
}
