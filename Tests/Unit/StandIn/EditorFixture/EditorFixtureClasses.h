// Classes the editor tests build Blueprint graphs and details panels with, written as a plug-in's editor module
// writes them: a function library the nodes call, a node whose pins follow a property and that expands into a
// call, a node with an array of field structures and a plain C++ interface, and an object with a member function.
#pragma once

#include "CoreMinimal.h"
#include "K2Node.h"
#include "Kismet/BlueprintFunctionLibrary.h"
#include "EditorFixtureClasses.generated.h"

class FBlueprintActionDatabaseRegistrar;
class FKismetCompilerContext;
class UEdGraph;
class UEdGraphPin;

/** A plain C++ interface (no UINTERFACE), as a runtime module hands one to an editor node. */
class IEditorFixtureFieldSync
{
public:
	virtual ~IEditorFixtureFieldSync() {}
	virtual void UpdateFields(int32 Count) = 0;
};

/** Kinds of value a fixture node carries. */
UENUM(BlueprintType)
enum class EditorFixtureValueType : uint8
{
	Float,
	Int,
	FloatArray,
	Double,
	Unknown
};

/** One field of a fixture node. */
USTRUCT(BlueprintType)
struct FEditorFixtureField
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, EditConst, Category = "Fixture")
	int32 direction = 0;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Fixture")
	EditorFixtureValueType fieldType = EditorFixtureValueType::Float;

	UPROPERTY(EditAnywhere, Category = "Fixture")
	FString fieldName;

	/** Not reflected: the pin made for the field. */
	UEdGraphPin* FieldPin = nullptr;
};

/** A field that comes from the host: its direction is 1 from the start. */
USTRUCT(BlueprintType)
struct FEditorFixtureFieldFromHost : public FEditorFixtureField
{
	GENERATED_BODY()

	FEditorFixtureFieldFromHost() { direction = 1; }
};

/** The functions the fixture nodes expand into; every call is recorded in CallLog. */
UCLASS()
class UEditorFixtureLibrary : public UBlueprintFunctionLibrary
{
	GENERATED_BODY()

public:
	UFUNCTION(BlueprintCallable, Category = "Fixture", meta = (BlueprintInternalUseOnly = "true"))
	static float GetFixtureFloat(const FString& nodeName, const FString& fieldName, bool& isAvailable);

	UFUNCTION(BlueprintCallable, Category = "Fixture", meta = (BlueprintInternalUseOnly = "true"))
	static int32 GetFixtureInt(const FString& nodeName, const FString& fieldName, bool& isAvailable);

	UFUNCTION(BlueprintCallable, Category = "Fixture", meta = (BlueprintInternalUseOnly = "true"))
	static TArray<float> GetFixtureFloatArray(const FString& nodeName, const FString& fieldName, bool& isAvailable);

	UFUNCTION(BlueprintCallable, Category = "Fixture", meta = (BlueprintInternalUseOnly = "true"))
	static void SendFixtureFloat(const FString& nodeName, const FString& fieldName, float value);

	UFUNCTION(BlueprintCallable, Category = "Fixture", meta = (BlueprintInternalUseOnly = "true"))
	static void SendFixtureDouble(const FString& nodeName, double value);

	UFUNCTION(BlueprintCallable, Category = "Fixture", meta = (BlueprintInternalUseOnly = "true"))
	static void SendFixtureBool(const FString& nodeName, bool value);

	UFUNCTION(BlueprintCallable, Category = "Fixture", meta = (BlueprintInternalUseOnly = "true"))
	static void SendFixtureFloatArray(const FString& nodeName, const FString& fieldName, TArray<float> value);

	UFUNCTION(BlueprintCallable, Category = "Fixture")
	static int32 CountFixtureCalls(int32 step = 2, double scale = 0.5, EditorFixtureValueType kind = EditorFixtureValueType::Int, const FString& label = TEXT("calls"));

	/** Joins a prefix and a number. */
	UFUNCTION(BlueprintPure, Category = "Fixture", meta = (DisplayName = "Make Fixture Name"))
	static FString MakeFixtureName(const FString& prefix, int32 index);

	UFUNCTION(BlueprintPure, Category = "Fixture")
	static bool BothAvailable(bool A, bool B);

	UFUNCTION(BlueprintCallable, Category = "Fixture")
	static void SumFixtureFields(const TArray<FEditorFixtureFieldFromHost>& fields, int32& count);

	/** What the functions were called with, in order ("GetFixtureFloat(node, field)"). */
	static TArray<FString> CallLog;

	/** The values the getters answer, by "node.field"; a missing one is not available. */
	static TMap<FString, float> Values;
};

/** An object with a member function, for calls on a target. */
UCLASS()
class UEditorFixtureTarget : public UObject
{
	GENERATED_BODY()

public:
	UFUNCTION(BlueprintCallable, Category = "Fixture")
	void Accumulate(int32 Amount);

	UPROPERTY()
	int32 Total = 0;
};

/**
 * A node whose Result pin has the type of its type property: execute, then, "Node" (string, default
 * "FixtureNode"), "IsValid" and "Result". It expands into one getter call of the library.
 */
UCLASS()
class UEditorFixtureTypedNode : public UK2Node
{
	GENERATED_BODY()

public:
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Fixture")
	EditorFixtureValueType type = EditorFixtureValueType::Float;

	//~ Begin UEdGraphNode Interface
	virtual void AllocateDefaultPins() override;
	virtual FText GetNodeTitle(ENodeTitleType::Type TitleType) const override;
	//~ End UEdGraphNode Interface

	//~ Begin UK2Node Interface
	virtual bool ShouldShowNodeProperties() const override { return true; }
	virtual void GetMenuActions(FBlueprintActionDatabaseRegistrar& ActionRegistrar) const override;
	virtual FText GetMenuCategory() const override;
	virtual void ExpandNode(FKismetCompilerContext& CompilerContext, UEdGraph* SourceGraph) override;
	//~ End UK2Node Interface
};

/** A node with an array of fields that records the edit notifications it receives. */
UCLASS()
class UEditorFixtureSyncNode : public UK2Node, public IEditorFixtureFieldSync
{
	GENERATED_BODY()

public:
	UPROPERTY(EditAnywhere, Category = "Fixture Sync")
	FString nodeToSync;

	UPROPERTY(EditAnywhere, Category = "Fixture Fields")
	TArray<FEditorFixtureFieldFromHost> fields;

	//~ Begin IEditorFixtureFieldSync Interface
	virtual void UpdateFields(int32 Count) override;
	//~ End IEditorFixtureFieldSync Interface

	//~ Begin UObject Interface
	virtual void PreEditChange(FProperty* PropertyAboutToChange) override;
	virtual void PostEditChangeProperty(FPropertyChangedEvent& PropertyChangedEvent) override;
	virtual void PostEditChangeChainProperty(FPropertyChangedChainEvent& PropertyChangedEvent) override;
	//~ End UObject Interface

	/** The notifications received, in order, e.g. "Pre fields", "Chain fieldType/fields ValueSet 1". */
	TArray<FString> Notifications;

	/** How many times the details panel's button asked for a sync. */
	int32 SyncRequests = 0;
};
