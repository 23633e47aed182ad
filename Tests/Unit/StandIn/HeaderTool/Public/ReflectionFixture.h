// Reflected declarations written the way a plug-in's public header is: a Blueprint function library
// with static callable and pure functions, an enum with display names, a structure, a component-like
// class with edited properties, an interface and a dynamic delegate parameter.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Interface.h"
#include "Kismet/BlueprintFunctionLibrary.h"
#include "ReflectionFixture.generated.h"

DECLARE_DYNAMIC_DELEGATE_OneParam(FFixtureEventCallback, int32, Argument);

/** Kinds of field a fixture node carries. Must stay in step with the host's numbering. */
UENUM(BlueprintType)
enum class FixtureFieldType : uint8
{
	Float UMETA(DisplayName = "Float"),
	Int UMETA(DisplayName = "Integer"),
	/** A true/false value */
	Bool UMETA(DisplayName = "Boolean"),
	IntArray = 5,
	Hidden UMETA(Hidden)
};

UENUM()
enum FixturePlainEnum
{
	PlainFirst,
	PlainSecond = 10,
};

UENUM(BlueprintType)
enum class FixtureStatus : uint8
{
	Disconnected = 0,
	Connected = 1,
};

/** One field of a fixture node. */
USTRUCT(BlueprintType)
struct FFixtureField
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, Category = "Fixture")
	FixtureFieldType fieldType = FixtureFieldType::Int;

	UPROPERTY(VisibleAnywhere, EditConst, Category = "Fixture", meta = (ToolTip = "Name of the field"))
	FString fieldName;

	int32 NotReflected = 7;
};

USTRUCT()
struct FFixtureFieldFromHost : public FFixtureField
{
	GENERATED_BODY()

	FFixtureFieldFromHost() { fieldType = FixtureFieldType::Bool; }
};

UINTERFACE(MinimalAPI, Blueprintable)
class UFixtureListener : public UInterface
{
	GENERATED_BODY()
};

class IFixtureListener
{
	GENERATED_BODY()

public:
	/** Called with each value the fixture hears. */
	UFUNCTION(BlueprintCallable, Category = "Fixture")
	virtual int32 Hear(int32 Value) { return Value + 1; }
};

UCLASS(MinimalAPI)
class UFixtureFunctionLibrary : public UBlueprintFunctionLibrary
{
	GENERATED_BODY()

public:
	/**
	 * Get an integer value from the fixture
	 * @param nodeName		The node to read from
	 * @param isAvailable	True if the value was read
	 */
	UFUNCTION(BlueprintCallable, Category = "Fixture", meta = (BlueprintInternalUseOnly = "true"))
	static int32 GetFixtureIntValue(const FString& nodeName, const FString& fieldName, bool& isAvailable);

	UFUNCTION(BlueprintCallable, Category = "Fixture|Arrays", meta = (BlueprintInternalUseOnly = "true"))
	static void SendFixtureFloatArray(const FString& nodeName, const FString& fieldName, TArray<float> value);

	/** Query the status of the fixture connection */
	UFUNCTION(BlueprintPure, Category = "Fixture")
	static bool IsFixtureConnected();

	UFUNCTION(BlueprintCallable, Category = "Fixture", meta = (ExpandEnumAsExecs = "connectionStatus"))
	static void FixtureConnectionState(FixtureStatus& connectionStatus);

	UFUNCTION(BlueprintPure, Category = "Fixture", meta = (DisplayName = "Fixture Clock"))
	static bool FixtureClock(int64& frameCounter, float& time, int32& frameRateNumerator, int32& frameRateDenominator);

	/** Register a custom event to be called whenever a method is called */
	UFUNCTION(BlueprintCallable, Category = "Fixture")
	static void RegisterFixtureMethod(const FString& node, const FString& method, FFixtureEventCallback calledEvent);

	UFUNCTION(BlueprintCallable, Category = "Fixture")
	static FString JoinNames(const TArray<FString>& names, const TMap<FString, int32>& weights, int32 separatorCount = 1);

	UFUNCTION(BlueprintCallable, Category = "Fixture")
	static FFixtureField MakeField(FixtureFieldType type, const FString& name);
};

UCLASS(ClassGroup = (Fixture), meta = (BlueprintSpawnableComponent), Within = FixtureOwner, Config = Game)
class UFixtureComponent : public UObject, public IFixtureListener
{
	GENERATED_BODY()

public:
	UFixtureComponent();

	/** How many events arrived */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Fixture")
	int32 EventCount = 0;

	UPROPERTY(EditAnywhere, Category = "Fixture")
	TArray<FFixtureField> Fields;

	UPROPERTY(VisibleAnywhere, BlueprintReadOnly, Category = "Fixture")
	TObjectPtr<UObject> Target;

	UPROPERTY(EditAnywhere, Category = "Fixture")
	uint32 bEnabled : 1;

	UFUNCTION()
	void OnHostEvent(int32 Argument);

	UFUNCTION(BlueprintCallable, Category = "Fixture")
	void Subscribe(const FFixtureEventCallback& Callback, UObject* Listener);

	UFUNCTION(BlueprintPure, Category = "Fixture")
	int32 GetEventCount() const { return EventCount; }

	UFUNCTION(BlueprintImplementableEvent)
	void OnFieldsChanged(int32 NewCount);

	UFUNCTION(BlueprintNativeEvent, Category = "Fixture")
	int32 Scale(int32 Value);

	FFixtureEventCallback Stored;

	//~ Begin IFixtureListener Interface
	virtual int32 Hear(int32 Value) override { return Value * 10; }
	//~ End IFixtureListener Interface

protected:
	UPROPERTY()
	FString ProtectedName = TEXT("protected");

private:
	UPROPERTY()
	float PrivateScale = 2.5f;
};

/** Outer that fixture components must live in. */
UCLASS()
class UFixtureOwner : public UObject
{
	GENERATED_BODY()
};

UCLASS()
class UFixtureDerivedComponent : public UFixtureComponent
{
	GENERATED_BODY()

public:
	UFixtureDerivedComponent(const FObjectInitializer& ObjectInitializer);

	UPROPERTY(EditAnywhere, Category = "Fixture")
	FFixtureField Extra;
};
