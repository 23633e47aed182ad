#include "KorvatTestReceiver.h"

void UKorvatTestReceiver::OnMethod(int32 Argument)
{
	if (Log != nullptr)
	{
		Log->Add(FString::Printf(TEXT("%s:%d"), *Label, Argument));
	}
	if (OnCall)
	{
		OnCall(Argument);
	}
}

void UKorvatTestReceiver::OnOtherMethod(int32 Argument)
{
	if (Log != nullptr)
	{
		Log->Add(FString::Printf(TEXT("%s+other:%d"), *Label, Argument));
	}
}
