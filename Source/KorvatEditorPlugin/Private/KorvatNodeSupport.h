// What the editor's Korvat nodes share: pin names, the library functions they expand into, their icon, their
// menu registration and the retyping of a value pin.
#pragma once

#include "CoreMinimal.h"
#include "KorvatD2ISyncNodeBase.h"
#include "KorvatNodeField.h"
#include "Textures/SlateIcon.h"

class FBlueprintActionDatabaseRegistrar;
class UEdGraphNode;
class UFunction;
struct FPropertyChangedChainEvent;

namespace KorvatNodeSupport
{
extern const FName NodePinName;
extern const FName FieldPinNameOfNode;
extern const FName IsValidPinName;
extern const FName ResultPinName;
extern const FName ValuePinName;

/** Pin names of the library's name-based functions. */
extern const FName LibraryNodeNamePin;
extern const FName LibraryFieldNamePin;
extern const FName LibraryIsAvailablePin;
extern const FName LibraryValuePin;

enum class ELibraryCall : uint8
{
	Get,
	Send,
};

/**
 * The name-based reader or sender of the function library for a field type, looked up by name; null for a type
 * outside the enumeration or a function the library lacks.
 */
UFunction* FindLibraryFunction(ELibraryCall Call, KorvatType Type);

/** The icon of every Korvat node. */
const FSlateIcon& NodeIcon();

/** Offers nodes of NodeClass in the Blueprint action menu, when the registrar asks for that class. */
void RegisterNodeSpawner(FBlueprintActionDatabaseRegistrar& ActionRegistrar, UClass* NodeClass);

/**
 * Gives the pins of Node named PinName the category of Type before the node is reconstructed: pins of another
 * category are orphaned and made unconnectable, an orphaned pin of the new category is brought back, and when a
 * pin was orphaned and none brought back a pin of the new category is made in its place.
 */
void RetypeValuePins(UEdGraphNode& Node, FName PinName, KorvatType Type);

/** Whether an edit inside an element of a field array changed its type or its name. */
bool IsFieldMemberEdit(const FPropertyChangedChainEvent& PropertyChangedEvent);

/** Orphans the pin of a field whose type the edit changed, so that its links are not lost silently. */
void OrphanRetypedFieldPin(const FKorvatNodeField& Field, const FKorvatNodeField& Before);

/** Repairs every name of a field array in place (see UKorvatD2ISyncNodeBase::FixName). */
template <typename FieldType>
void RepairFieldNames(TArray<FieldType>& Fields)
{
	for (int32 Index = 0; Index < Fields.Num(); ++Index)
	{
		Fields[Index].fieldName = UKorvatD2ISyncNodeBase::FixName(Index, Fields[Index]);
	}
}

/** Orphans the pins of fields whose type changed since Before was taken, when Before still lines up. */
template <typename FieldType>
void OrphanRetypedFieldPins(const TArray<FieldType>& Fields, const TArray<FieldType>& Before)
{
	if (Before.Num() != Fields.Num() || Fields.Num() == 0)
	{
		return;
	}
	for (int32 Index = 0; Index < Fields.Num(); ++Index)
	{
		OrphanRetypedFieldPin(Fields[Index], Before[Index]);
	}
}
} // namespace KorvatNodeSupport
