// Blueprint-facing types of the Korvat runtime module and the Blueprint function library.
#pragma once

#include "CoreMinimal.h"
#include "Kismet/BlueprintFunctionLibrary.h"
#include "UObject/ObjectMacros.h"

#include "KorvatBPEvent.generated.h"

/** Called when the host calls a method of a Korvat node; Argument is the call's integer argument. */
DECLARE_DYNAMIC_DELEGATE_OneParam(FKorvatEventCallback, int32, Argument);

/** Whether the host is connected. */
UENUM(BlueprintType)
enum class KorvatConnectionStatus : uint8
{
	Disconnected = 0,
	Connected = 1,
};

/** The order in which the host applies its three Euler angles, first letter first. */
UENUM(BlueprintType)
enum class EulerRotationOrder : uint8
{
	ZXY = 0 UMETA(DisplayName = "ZXY"),
	ZYX = 1 UMETA(DisplayName = "ZYX"),
	YZX = 2 UMETA(DisplayName = "YZX"),
	YXZ = 3 UMETA(DisplayName = "YXZ"),
	XYZ = 4 UMETA(DisplayName = "XYZ"),
	XZY = 5 UMETA(DisplayName = "XZY"),
};

/** The Euler orders the conversion from Unreal rotators supports. */
UENUM(BlueprintType)
enum class LimitedEulerRotationOrder : uint8
{
	XYZ = 0 UMETA(DisplayName = "XYZ"),
};

/**
 * Reads and sends host values by node and field name, registers for host method calls, triggers host events,
 * reports the connection, the cluster clock and the host camera, and converts coordinates between the host's
 * system and Unreal's. The name-based functions are used by the editor module's Korvat nodes.
 */
UCLASS()
class KORVATPLUGIN_API UKorvatBPFunctionLibrary : public UBlueprintFunctionLibrary
{
	GENERATED_BODY()

public:
	// Host values by node and field name (the nodes of the editor module call these).

	UFUNCTION(BlueprintCallable, Category = "Korvat", meta = (BlueprintInternalUseOnly = "true"))
	static int32 GetKorvatIntValueByNodeName(const FString& nodeName, const FString& fieldName, bool& isAvailable);
	UFUNCTION(BlueprintCallable, Category = "Korvat", meta = (BlueprintInternalUseOnly = "true"))
	static float GetKorvatFloatValueByNodeName(const FString& nodeName, const FString& fieldName, bool& isAvailable);
	UFUNCTION(BlueprintCallable, Category = "Korvat", meta = (BlueprintInternalUseOnly = "true"))
	static FString GetKorvatStringValueByNodeName(const FString& nodeName, const FString& fieldName, bool& isAvailable);
	UFUNCTION(BlueprintCallable, Category = "Korvat", meta = (BlueprintInternalUseOnly = "true"))
	static bool GetKorvatBoolValueByNodeName(const FString& nodeName, const FString& fieldName, bool& isAvailable);
	UFUNCTION(BlueprintCallable, Category = "Korvat", meta = (BlueprintInternalUseOnly = "true"))
	static TArray<int32> GetKorvatIntArrayByNodeName(const FString& nodeName, const FString& fieldName, bool& isAvailable);
	UFUNCTION(BlueprintCallable, Category = "Korvat", meta = (BlueprintInternalUseOnly = "true"))
	static TArray<float> GetKorvatFloatArrayByNodeName(const FString& nodeName, const FString& fieldName, bool& isAvailable);
	UFUNCTION(BlueprintCallable, Category = "Korvat", meta = (BlueprintInternalUseOnly = "true"))
	static TArray<FString> GetKorvatStringArrayByNodeName(const FString& nodeName, const FString& fieldName, bool& isAvailable);
	UFUNCTION(BlueprintCallable, Category = "Korvat", meta = (BlueprintInternalUseOnly = "true"))
	static TArray<bool> GetKorvatBoolArrayByNodeName(const FString& nodeName, const FString& fieldName, bool& isAvailable);

	UFUNCTION(BlueprintCallable, Category = "Korvat", meta = (BlueprintInternalUseOnly = "true"))
	static void SendKorvatIntValueByNodeName(const FString& nodeName, const FString& fieldName, int32 value);
	UFUNCTION(BlueprintCallable, Category = "Korvat", meta = (BlueprintInternalUseOnly = "true"))
	static void SendKorvatFloatValueByNodeName(const FString& nodeName, const FString& fieldName, float value);
	UFUNCTION(BlueprintCallable, Category = "Korvat", meta = (BlueprintInternalUseOnly = "true"))
	static void SendKorvatStringValueByNodeName(const FString& nodeName, const FString& fieldName, FString value);
	UFUNCTION(BlueprintCallable, Category = "Korvat", meta = (BlueprintInternalUseOnly = "true"))
	static void SendKorvatBoolValueByNodeName(const FString& nodeName, const FString& fieldName, bool value);
	UFUNCTION(BlueprintCallable, Category = "Korvat", meta = (BlueprintInternalUseOnly = "true"))
	static void SendKorvatIntArrayByNodeName(const FString& nodeName, const FString& fieldName, TArray<int32> value);
	UFUNCTION(BlueprintCallable, Category = "Korvat", meta = (BlueprintInternalUseOnly = "true"))
	static void SendKorvatFloatArrayByNodeName(const FString& nodeName, const FString& fieldName, TArray<float> value);
	UFUNCTION(BlueprintCallable, Category = "Korvat", meta = (BlueprintInternalUseOnly = "true"))
	static void SendKorvatStringArrayByNodeName(const FString& nodeName, const FString& fieldName, TArray<FString> value);
	UFUNCTION(BlueprintCallable, Category = "Korvat", meta = (BlueprintInternalUseOnly = "true"))
	static void SendKorvatBoolArrayByNodeName(const FString& nodeName, const FString& fieldName, TArray<bool> value);

	// Transforms, methods, events, connection, clock and camera.

	/**
	 * Get a Transform value from an Axis Unreal node from Korvat
	 * @param valueName    The name of the Korvat Axis Unreal node to read from
	 * @param isAvailable  True if the value was read successfully
	 */
	UFUNCTION(BlueprintCallable, Category = "Korvat")
	static FTransform GetKorvatTransformValue(const FString& valueName, bool& isAvailable);

	/**
	 * Send a Transform value to the named Korvat Axis Unreal node
	 * @param valueName  The name of the Korvat Axis Unreal node to send to
	 * @param value      The transform to send, in the Unreal coordinate system
	 */
	UFUNCTION(BlueprintCallable, Category = "Korvat")
	static void SendKorvatTransformValue(const FString& valueName, const FTransform& value);

	/**
	 * Register a custom event to be called whenever a specified Method is called in Korvat
	 * @param node         The name of the Korvat node
	 * @param method       The name of the node's method
	 * @param calledEvent  The custom event to run when Korvat calls the method
	 */
	UFUNCTION(BlueprintCallable, Category = "Korvat")
	static void RegisterKorvatMethod(const FString& node, const FString& method, FKorvatEventCallback calledEvent);

	/**
	 * Trigger an event in Korvat
	 * @param node      The name of the Korvat node
	 * @param event     The name of the node's event
	 * @param argument  The argument of the event
	 */
	UFUNCTION(BlueprintCallable, Category = "Korvat")
	static void TriggerKorvatEvent(const FString& node, const FString& event, int32 argument);

	/**
	 * Query the status of the Korvat connection
	 * @return True if Korvat is connected
	 */
	UFUNCTION(BlueprintCallable, BlueprintPure, Category = "Korvat")
	static bool IsKorvatConnected();

	/**
	 * Branch on the status of the Korvat connection
	 * @param connectionStatus  Connected or Disconnected
	 */
	UFUNCTION(BlueprintCallable, Category = "Korvat", meta = (ExpandEnumAsExecs = "connectionStatus"))
	static void KorvatConnectionState(KorvatConnectionStatus& connectionStatus);

	/**
	 * Get the cluster clock of Korvat
	 * @param frameCounter          The clock's elapsed time as a frame index
	 * @param time                  The clock's elapsed time in seconds
	 * @param frameRateNumerator    The numerator of the exact frame rate
	 * @param frameRateDenominator  The denominator of the exact frame rate
	 * @return True if the values are valid
	 */
	UFUNCTION(BlueprintCallable, BlueprintPure, Category = "Korvat")
	static bool KorvatClusterClock(int64& frameCounter, float& time, int32& frameRateNumerator, int32& frameRateDenominator);

	/**
	 * Get camera transform from Korvat
	 * @param isAvailable  True while Korvat is connected
	 */
	UFUNCTION(BlueprintCallable, Category = "Korvat")
	static FTransform GetKorvatCameraTransform(bool& isAvailable);

	// Coordinate conversion between Unreal and the host: the host's unit is 100 Unreal units, its up axis is Y.

	/** Convert a position vector from the Unreal coordinate system to the Korvat coordinate system */
	UFUNCTION(BlueprintCallable, BlueprintPure, Category = "Korvat", meta = (DisplayName = "Unreal to Korvat Position"))
	static FVector UE4_ToKorvatPosition(const FVector& position);

	/**
	 * Convert a Unreal rotator to Korvat coordinate system Euler angle values
	 * WARNING: this node is currently limited to the XYZ Korvat Euler angle rotation order
	 */
	UFUNCTION(BlueprintCallable, BlueprintPure, Category = "Korvat", meta = (DisplayName = "Unreal to Korvat Rotation"))
	static FVector UE4_ToKorvatRotation(const FRotator& rotation, LimitedEulerRotationOrder korvatRotationOrder = LimitedEulerRotationOrder::XYZ);

	/** Convert a scaling vector from the Unreal coordinate system to the Korvat coordinate system */
	UFUNCTION(BlueprintCallable, BlueprintPure, Category = "Korvat", meta = (DisplayName = "Unreal to Korvat Scale"))
	static FVector UE4_ToKorvatScale(const FVector& scale);

	/**
	 * Convert a Unreal Transform to the Korvat coordinate system
	 * WARNING: this node is currently limited to the XYZ Korvat Euler angle rotation order
	 */
	UFUNCTION(BlueprintCallable, BlueprintPure, Category = "Korvat", meta = (DisplayName = "Unreal to Korvat Transform"))
	static void UE4_ToKorvatTransform(const FTransform& transform, FVector& position, FVector& rotation, FVector& scale,
		LimitedEulerRotationOrder korvatRotationOrder = LimitedEulerRotationOrder::XYZ);

	/** Convert a position vector from the Korvat coordinate system to the Unreal coordinate system */
	UFUNCTION(BlueprintCallable, BlueprintPure, Category = "Korvat", meta = (DisplayName = "Korvat to Unreal Position"))
	static FVector KorvatToUE4_Position(const FVector& position);

	/** Convert an Euler angle rotation from the Korvat coordinate system to a Unreal rotator */
	UFUNCTION(BlueprintCallable, BlueprintPure, Category = "Korvat", meta = (DisplayName = "Korvat to Unreal Rotation"))
	static FRotator KorvatToUE4_Rotation(const FVector& rotation, EulerRotationOrder korvatRotationOrder = EulerRotationOrder::ZYX);

	/** Convert a scaling vector from the Korvat coordinate system to the Unreal coordinate system */
	UFUNCTION(BlueprintCallable, BlueprintPure, Category = "Korvat", meta = (DisplayName = "Korvat to Unreal Scale"))
	static FVector KorvatToUE4_Scale(const FVector& scale);

	/** Convert Korvat coordinate system transformation values to a Unreal coordinate system Transform */
	UFUNCTION(BlueprintCallable, BlueprintPure, Category = "Korvat", meta = (DisplayName = "Korvat to Unreal Transform"))
	static FTransform KorvatToUE4_Transform(const FVector& position, const FVector& rotation,
		EulerRotationOrder korvatRotationOrder = EulerRotationOrder::ZYX, const FVector& scale = FVector(1.f, 1.f, 1.f));
};
