// The fields of host nodes as the editor's Korvat nodes keep them: their types, records, pin types and names.
#pragma once

#include "CoreMinimal.h"
#include "EdGraph/EdGraphPin.h"
#include "KorvatActorTransformSync.h"
#include "UE4ComCommon.h"

#include "KorvatNodeField.generated.h"

/** The type of a host node field. Must stay in step with the host's field-type enumeration. */
UENUM(BlueprintType)
enum class KorvatType : uint8
{
	Float = 0 UMETA(DisplayName = "Float"),
	Int = 1 UMETA(DisplayName = "Integer"),
	Bool = 2 UMETA(DisplayName = "Boolean"),
	String = 3 UMETA(DisplayName = "String"),
	FloatArray = 4 UMETA(DisplayName = "FloatArray"),
	IntArray = 5 UMETA(DisplayName = "IntegerArray"),
	BoolArray = 6 UMETA(DisplayName = "BooleanArray"),
	StringArray = 7 UMETA(DisplayName = "StringArray"),
};

/** One field of a host node: its direction, type and name, and the pin a node made for it. */
USTRUCT(BlueprintType)
struct KORVATEDITORPLUGIN_API FKorvatNodeField
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, EditConst, BlueprintReadWrite, Category = "Korvat")
	KorvatCommunicationDirection direction = KorvatCommunicationDirection::ToKorvat;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Korvat")
	KorvatType fieldType = KorvatType::Float;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Korvat")
	FString fieldName;

	/** The pin the owning node made for this field; valid from its pin allocation to its next reconstruction. */
	UEdGraphPin* FieldPin = nullptr;
};

/** A field the host receives: an element added by hand already points to the host. */
USTRUCT(BlueprintType)
struct KORVATEDITORPLUGIN_API FKorvatNodeFieldToKorvat : public FKorvatNodeField
{
	GENERATED_BODY()

	FKorvatNodeFieldToKorvat() { direction = KorvatCommunicationDirection::ToKorvat; }
};

/** A field the host sends: an element added by hand already comes from the host. */
USTRUCT(BlueprintType)
struct KORVATEDITORPLUGIN_API FKorvatNodeFieldFromKorvat : public FKorvatNodeField
{
	GENERATED_BODY()

	FKorvatNodeFieldFromKorvat() { direction = KorvatCommunicationDirection::FromKorvat; }
};

/** The pin type of a field type; a value outside the enumeration gets a wildcard pin. */
KORVATEDITORPLUGIN_API FEdGraphPinType FieldPinType(KorvatType Type);

/** The pin name of a field on a multi-field node: its name, "_", its pin category, and "Array" for arrays. */
KORVATEDITORPLUGIN_API FName FieldPinName(const FKorvatNodeField& Field);

/** A field record from a field the host described; the name is taken as received. */
KORVATEDITORPLUGIN_API FKorvatNodeField FieldFromDescriptor(const Korvat::UE4::FieldDescriptor& Descriptor, KorvatCommunicationDirection Direction);

/** The description of a field that the editor gives the host. */
KORVATEDITORPLUGIN_API Korvat::UE4::FieldDescriptor DescriptorFromField(const FKorvatNodeField& Field);
