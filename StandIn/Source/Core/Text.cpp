#include "Internationalization/Text.h"


FText::FText()
	: Data(MakeShared<const FTextData>())
{
}

FText::FText(TSharedRef<const FTextData, ESPMode::ThreadSafe> InData)
	: Data(MoveTemp(InData))
{
}

const FText& FText::GetEmpty()
{
	static const FText* Empty = new FText();
	return *Empty;
}

FText FText::FromString(const FString& String)
{
	return FText(MakeShared<const FTextData>(FTextData{String, {}, {}}));
}

FText FText::FromString(FString&& String)
{
	return FText(MakeShared<const FTextData>(FTextData{MoveTemp(String), {}, {}}));
}

FText FText::FromName(const FName& Val)
{
	return FromString(Val.ToString());
}

FText FText::AsCultureInvariant(const FString& String)
{
	return FromString(String);
}

FText FText::AsNumber(int32 Val)
{
	// Invariant grouping as the engine's default English culture shows it: 1,234,567.
	FString Digits = FString::Printf(TEXT("%d"), Val < 0 ? -static_cast<int64>(Val) : static_cast<int64>(Val));
	FString Grouped;
	for (int32 I = 0; I < Digits.Len(); ++I)
	{
		if (I > 0 && (Digits.Len() - I) % 3 == 0)
		{
			Grouped.AppendChar(TEXT(','));
		}
		Grouped.AppendChar(Digits[I]);
	}
	return FromString(Val < 0 ? TEXT("-") + Grouped : Grouped);
}

FText FText::AsNumber(double Val)
{
	return FromString(FString::SanitizeFloat(Val, 0));
}

const FString& FText::ToString() const
{
	return Data->SourceString;
}

bool FText::IsEmpty() const
{
	return Data->SourceString.IsEmpty();
}

bool FText::IsEmptyOrWhitespace() const
{
	return Data->SourceString.TrimStartAndEnd().IsEmpty();
}

bool FText::EqualTo(const FText& Other) const
{
	return Data->SourceString.Equals(Other.Data->SourceString, ESearchCase::CaseSensitive);
}

bool FText::IdenticalTo(const FText& Other) const
{
	return &Data.Get() == &Other.Data.Get();
}

FText FText::ToUpper() const
{
	return FromString(Data->SourceString.ToUpper());
}

FText FText::ToLower() const
{
	return FromString(Data->SourceString.ToLower());
}

TOptional<FString> FTextInspector::GetNamespace(const FText& Text)
{
	return Text.Data->Namespace;
}

TOptional<FString> FTextInspector::GetKey(const FText& Text)
{
	return Text.Data->Key;
}

const FString* FTextInspector::GetSourceString(const FText& Text)
{
	return &Text.Data->SourceString;
}

FText FInternationalization::ForUseOnlyByLocMacroAndGraphNodeTextLiterals_CreateText(const TCHAR* InTextLiteral, const TCHAR* InNamespace, const TCHAR* InKey)
{
	return FText(MakeShared<const FText::FTextData>(FText::FTextData{FString(InTextLiteral), TOptional<FString>(FString(InNamespace)), TOptional<FString>(FString(InKey))}));
}
