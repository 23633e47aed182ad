// Native bodies of the reflection fixture's functions: each records or echoes its inputs so the
// tests can tell the call arrived with the right arguments.
#include "ReflectionFixture.h"

int32 UFixtureFunctionLibrary::GetFixtureIntValue(const FString& nodeName, const FString& fieldName, bool& isAvailable)
{
	isAvailable = nodeName == TEXT("Node");
	return isAvailable ? nodeName.Len() * 100 + fieldName.Len() : 0;
}

void UFixtureFunctionLibrary::SendFixtureFloatArray(const FString&, const FString&, TArray<float>)
{
}

bool UFixtureFunctionLibrary::IsFixtureConnected()
{
	return true;
}

void UFixtureFunctionLibrary::FixtureConnectionState(FixtureStatus& connectionStatus)
{
	connectionStatus = FixtureStatus::Connected;
}

bool UFixtureFunctionLibrary::FixtureClock(int64& frameCounter, float& time, int32& frameRateNumerator, int32& frameRateDenominator)
{
	frameCounter = 1234567890123;
	time = 2.5f;
	frameRateNumerator = 60000;
	frameRateDenominator = 1001;
	return true;
}

void UFixtureFunctionLibrary::RegisterFixtureMethod(const FString&, const FString&, FFixtureEventCallback calledEvent)
{
	calledEvent.ExecuteIfBound(42);
}

FString UFixtureFunctionLibrary::JoinNames(const TArray<FString>& names, const TMap<FString, int32>& weights, int32 separatorCount)
{
	FString Result;
	for (const FString& Name : names)
	{
		if (!Result.IsEmpty())
		{
			for (int32 Index = 0; Index < separatorCount; ++Index)
			{
				Result += TEXT(",");
			}
		}
		Result += Name;
		if (const int32* Weight = weights.Find(Name))
		{
			Result += FString::FromInt(*Weight);
		}
	}
	return Result;
}

FFixtureField UFixtureFunctionLibrary::MakeField(FixtureFieldType type, const FString& name)
{
	FFixtureField Field;
	Field.fieldType = type;
	Field.fieldName = name;
	return Field;
}

UFixtureComponent::UFixtureComponent()
{
	bEnabled = true;
}

void UFixtureComponent::OnHostEvent(int32 Argument)
{
	EventCount += Argument;
}

void UFixtureComponent::Subscribe(const FFixtureEventCallback& Callback, UObject* Listener)
{
	Stored = Callback;
	Target = Listener;
}

int32 UFixtureComponent::Scale_Implementation(int32 Value)
{
	return (int32)(Value * PrivateScale);
}

UFixtureDerivedComponent::UFixtureDerivedComponent(const FObjectInitializer&)
{
	Extra.fieldName = TEXT("extra");
}
