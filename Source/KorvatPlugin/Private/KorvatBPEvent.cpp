// The Blueprint function library's access to the module: host values by name, methods, events, the connection,
// the cluster clock and the host camera; Blueprints may run before the module loads or after it unloads. The
// coordinate conversions are in KorvatCoordinateConversion.cpp.
#include "KorvatBPEvent.h"

#include "KorvatNameHash.h"
#include "KorvatPluginModule.h"
#include "ProfilingDebugging/CpuProfilerTrace.h"

namespace KorvatBPEvent
{
/** Reads the value of NodeName.FieldName of one kind; the kind's default, not available, without the module. */
template <typename ValueType>
ValueType ReadByName(ValueType (FKorvatPlugin::*Reader)(uint32, bool&) const, const FString& NodeName, const FString& FieldName,
	bool& isAvailable)
{
	const FKorvatPlugin* Module = FKorvatPlugin::FindLoaded();
	if (Module == nullptr)
	{
		isAvailable = false;
		return ValueType();
	}
	return (Module->*Reader)(KorvatNameHash::ValueIdOfField(NodeName, FieldName), isAvailable);
}

/** Sends Value under NodeName.FieldName; nothing without the module. */
template <typename ParameterType, typename ValueType>
void SendByName(void (FKorvatPlugin::*Sender)(uint32, ParameterType), const FString& NodeName, const FString& FieldName,
	const ValueType& Value)
{
	if (FKorvatPlugin* Module = FKorvatPlugin::FindLoaded())
	{
		(Module->*Sender)(KorvatNameHash::ValueIdOfField(NodeName, FieldName), Value);
	}
}
} // namespace KorvatBPEvent

int32 UKorvatBPFunctionLibrary::GetKorvatIntValueByNodeName(const FString& nodeName, const FString& fieldName, bool& isAvailable)
{
	TRACE_CPUPROFILER_EVENT_SCOPE(UKorvatBPFunctionLibrary::GetKorvatIntValueByNodeName);
	return KorvatBPEvent::ReadByName(&FKorvatPlugin::GetIntValue, nodeName, fieldName, isAvailable);
}

float UKorvatBPFunctionLibrary::GetKorvatFloatValueByNodeName(const FString& nodeName, const FString& fieldName, bool& isAvailable)
{
	TRACE_CPUPROFILER_EVENT_SCOPE(UKorvatBPFunctionLibrary::GetKorvatFloatValueByNodeName);
	return KorvatBPEvent::ReadByName(&FKorvatPlugin::GetFloatValue, nodeName, fieldName, isAvailable);
}

FString UKorvatBPFunctionLibrary::GetKorvatStringValueByNodeName(const FString& nodeName, const FString& fieldName, bool& isAvailable)
{
	TRACE_CPUPROFILER_EVENT_SCOPE(UKorvatBPFunctionLibrary::GetKorvatStringValueByNodeName);
	return KorvatBPEvent::ReadByName(&FKorvatPlugin::GetStringValue, nodeName, fieldName, isAvailable);
}

bool UKorvatBPFunctionLibrary::GetKorvatBoolValueByNodeName(const FString& nodeName, const FString& fieldName, bool& isAvailable)
{
	TRACE_CPUPROFILER_EVENT_SCOPE(UKorvatBPFunctionLibrary::GetKorvatBoolValueByNodeName);
	return KorvatBPEvent::ReadByName(&FKorvatPlugin::GetBoolValue, nodeName, fieldName, isAvailable);
}

TArray<int32> UKorvatBPFunctionLibrary::GetKorvatIntArrayByNodeName(const FString& nodeName, const FString& fieldName, bool& isAvailable)
{
	TRACE_CPUPROFILER_EVENT_SCOPE(UKorvatBPFunctionLibrary::GetKorvatIntArrayByNodeName);
	return KorvatBPEvent::ReadByName(&FKorvatPlugin::GetIntArray, nodeName, fieldName, isAvailable);
}

TArray<float> UKorvatBPFunctionLibrary::GetKorvatFloatArrayByNodeName(const FString& nodeName, const FString& fieldName, bool& isAvailable)
{
	TRACE_CPUPROFILER_EVENT_SCOPE(UKorvatBPFunctionLibrary::GetKorvatFloatArrayByNodeName);
	return KorvatBPEvent::ReadByName(&FKorvatPlugin::GetFloatArray, nodeName, fieldName, isAvailable);
}

TArray<FString> UKorvatBPFunctionLibrary::GetKorvatStringArrayByNodeName(const FString& nodeName, const FString& fieldName, bool& isAvailable)
{
	TRACE_CPUPROFILER_EVENT_SCOPE(UKorvatBPFunctionLibrary::GetKorvatStringArrayByNodeName);
	return KorvatBPEvent::ReadByName(&FKorvatPlugin::GetStringArray, nodeName, fieldName, isAvailable);
}

TArray<bool> UKorvatBPFunctionLibrary::GetKorvatBoolArrayByNodeName(const FString& nodeName, const FString& fieldName, bool& isAvailable)
{
	TRACE_CPUPROFILER_EVENT_SCOPE(UKorvatBPFunctionLibrary::GetKorvatBoolArrayByNodeName);
	return KorvatBPEvent::ReadByName(&FKorvatPlugin::GetBoolArray, nodeName, fieldName, isAvailable);
}

void UKorvatBPFunctionLibrary::SendKorvatIntValueByNodeName(const FString& nodeName, const FString& fieldName, int32 value)
{
	TRACE_CPUPROFILER_EVENT_SCOPE(UKorvatBPFunctionLibrary::SendKorvatIntValueByNodeName);
	KorvatBPEvent::SendByName(&FKorvatPlugin::SendIntValue, nodeName, fieldName, value);
}

void UKorvatBPFunctionLibrary::SendKorvatFloatValueByNodeName(const FString& nodeName, const FString& fieldName, float value)
{
	TRACE_CPUPROFILER_EVENT_SCOPE(UKorvatBPFunctionLibrary::SendKorvatFloatValueByNodeName);
	KorvatBPEvent::SendByName(&FKorvatPlugin::SendFloatValue, nodeName, fieldName, value);
}

void UKorvatBPFunctionLibrary::SendKorvatStringValueByNodeName(const FString& nodeName, const FString& fieldName, FString value)
{
	TRACE_CPUPROFILER_EVENT_SCOPE(UKorvatBPFunctionLibrary::SendKorvatStringValueByNodeName);
	KorvatBPEvent::SendByName(&FKorvatPlugin::SendStringValue, nodeName, fieldName, value);
}

void UKorvatBPFunctionLibrary::SendKorvatBoolValueByNodeName(const FString& nodeName, const FString& fieldName, bool value)
{
	TRACE_CPUPROFILER_EVENT_SCOPE(UKorvatBPFunctionLibrary::SendKorvatBoolValueByNodeName);
	KorvatBPEvent::SendByName(&FKorvatPlugin::SendBoolValue, nodeName, fieldName, value);
}

void UKorvatBPFunctionLibrary::SendKorvatIntArrayByNodeName(const FString& nodeName, const FString& fieldName, TArray<int32> value)
{
	TRACE_CPUPROFILER_EVENT_SCOPE(UKorvatBPFunctionLibrary::SendKorvatIntArrayByNodeName);
	KorvatBPEvent::SendByName(&FKorvatPlugin::SendIntArray, nodeName, fieldName, value);
}

void UKorvatBPFunctionLibrary::SendKorvatFloatArrayByNodeName(const FString& nodeName, const FString& fieldName, TArray<float> value)
{
	TRACE_CPUPROFILER_EVENT_SCOPE(UKorvatBPFunctionLibrary::SendKorvatFloatArrayByNodeName);
	KorvatBPEvent::SendByName(&FKorvatPlugin::SendFloatArray, nodeName, fieldName, value);
}

void UKorvatBPFunctionLibrary::SendKorvatStringArrayByNodeName(const FString& nodeName, const FString& fieldName, TArray<FString> value)
{
	TRACE_CPUPROFILER_EVENT_SCOPE(UKorvatBPFunctionLibrary::SendKorvatStringArrayByNodeName);
	KorvatBPEvent::SendByName(&FKorvatPlugin::SendStringArray, nodeName, fieldName, value);
}

void UKorvatBPFunctionLibrary::SendKorvatBoolArrayByNodeName(const FString& nodeName, const FString& fieldName, TArray<bool> value)
{
	TRACE_CPUPROFILER_EVENT_SCOPE(UKorvatBPFunctionLibrary::SendKorvatBoolArrayByNodeName);
	KorvatBPEvent::SendByName(&FKorvatPlugin::SendBoolArray, nodeName, fieldName, value);
}

FTransform UKorvatBPFunctionLibrary::GetKorvatTransformValue(const FString& valueName, bool& isAvailable)
{
	const FKorvatPlugin* Module = FKorvatPlugin::FindLoaded();
	if (Module == nullptr)
	{
		isAvailable = false;
		return FTransform::Identity;
	}
	// The matrix travels in Unreal's axes and units; no conversion here.
	return Module->GetTransformValue(KorvatNameHash::ValueIdOfName(valueName), isAvailable);
}

void UKorvatBPFunctionLibrary::SendKorvatTransformValue(const FString& valueName, const FTransform& value)
{
	if (FKorvatPlugin* Module = FKorvatPlugin::FindLoaded())
	{
		Module->SendTransformValue(KorvatNameHash::ValueIdOfName(valueName), value);
	}
}

void UKorvatBPFunctionLibrary::RegisterKorvatMethod(const FString& node, const FString& method, FKorvatEventCallback calledEvent)
{
	if (FKorvatPlugin* Module = FKorvatPlugin::FindLoaded())
	{
		Module->RegisterEvent(KorvatNameHash::ValueIdOfField(node, method), calledEvent);
	}
}

void UKorvatBPFunctionLibrary::TriggerKorvatEvent(const FString& node, const FString& event, int32 argument)
{
	if (FKorvatPlugin* Module = FKorvatPlugin::FindLoaded())
	{
		Module->TriggerEvent(KorvatNameHash::ValueIdOfField(node, event), argument);
	}
}

bool UKorvatBPFunctionLibrary::IsKorvatConnected()
{
	const FKorvatPlugin* Module = FKorvatPlugin::FindLoaded();
	return Module != nullptr && Module->IsConnected();
}

void UKorvatBPFunctionLibrary::KorvatConnectionState(KorvatConnectionStatus& connectionStatus)
{
	connectionStatus = IsKorvatConnected() ? KorvatConnectionStatus::Connected : KorvatConnectionStatus::Disconnected;
}

bool UKorvatBPFunctionLibrary::KorvatClusterClock(int64& frameCounter, float& time, int32& frameRateNumerator, int32& frameRateDenominator)
{
	const FKorvatPlugin* Module = FKorvatPlugin::FindLoaded();
	if (Module == nullptr)
	{
		return false;
	}
	const Korvat::UE4::FromKorvatClock Clock = Module->GetClusterClock();
	frameCounter = Clock.frameCounter;
	time = Clock.time;
	frameRateNumerator = Clock.frameRateNumerator;
	frameRateDenominator = Clock.frameRateDenominator;
	return true;
}

FTransform UKorvatBPFunctionLibrary::GetKorvatCameraTransform(bool& isAvailable)
{
	const FKorvatPlugin* Module = FKorvatPlugin::FindLoaded();
	if (Module == nullptr)
	{
		isAvailable = false;
		return FTransform::Identity;
	}
	// The camera is the host's only while the host is there to move it.
	isAvailable = Module->IsConnected();
	return Module->GetKorvatCameraTransform();
}
