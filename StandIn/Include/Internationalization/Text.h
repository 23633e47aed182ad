// FText: display text. The stand-in keeps the source string, and for localised literals their
// namespace and key (readable through FTextInspector); there is no culture switching.
#pragma once

#include "HAL/Platform.h"
#include "Containers/UnrealString.h"
#include "Misc/Optional.h"
#include "Templates/SharedPointer.h"
#include "UObject/NameTypes.h"

class CORE_API FText
{
	friend class FTextInspector;
	friend class FInternationalization;

public:
	FText();

	static const FText& GetEmpty();
	static FText FromString(const FString& String);
	static FText FromString(FString&& String);
	static FText FromName(const FName& Val);
	static FText AsCultureInvariant(const FString& String);
	static FText AsNumber(int32 Val);
	static FText AsNumber(double Val);

	const FString& ToString() const;
	bool IsEmpty() const;
	bool IsEmptyOrWhitespace() const;
	bool EqualTo(const FText& Other) const;
	bool IdenticalTo(const FText& Other) const;
	FText ToUpper() const;
	FText ToLower() const;

private:
	struct FTextData
	{
		FString SourceString;
		TOptional<FString> Namespace;
		TOptional<FString> Key;
	};

	explicit FText(TSharedRef<const FTextData, ESPMode::ThreadSafe> InData);

	TSharedRef<const FTextData, ESPMode::ThreadSafe> Data;
};

/** Reads what a text was made from. */
class CORE_API FTextInspector
{
public:
	static TOptional<FString> GetNamespace(const FText& Text);
	static TOptional<FString> GetKey(const FText& Text);
	static const FString* GetSourceString(const FText& Text);
};

class CORE_API FInternationalization
{
public:
	/** What LOCTEXT and NSLOCTEXT expand to. */
	static FText ForUseOnlyByLocMacroAndGraphNodeTextLiterals_CreateText(const TCHAR* InTextLiteral, const TCHAR* InNamespace, const TCHAR* InKey);
};

#define LOCTEXT(InKey, InTextLiteral) FInternationalization::ForUseOnlyByLocMacroAndGraphNodeTextLiterals_CreateText(TEXT(InTextLiteral), TEXT(LOCTEXT_NAMESPACE), TEXT(InKey))
#define NSLOCTEXT(InNamespace, InKey, InTextLiteral) FInternationalization::ForUseOnlyByLocMacroAndGraphNodeTextLiterals_CreateText(TEXT(InTextLiteral), TEXT(InNamespace), TEXT(InKey))
#define INVTEXT(InTextLiteral) FText::AsCultureInvariant(FString(TEXT(InTextLiteral)))
