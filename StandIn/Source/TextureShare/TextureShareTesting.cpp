#include "TextureShareTesting.h"

#include "TextureShareChannel.h"
#include "TextureShareState.h"

namespace TextureShareTesting
{

TArray<FDelivery> GetDeliveries()
{
	TArray<FDelivery> Result;
	for (const TextureShareState::FDelivery& Delivery : TextureShareState::GetDeliveries())
	{
		Result.Add(FDelivery{Delivery.ShareName, Delivery.Frame, Delivery.Parameters});
	}
	return Result;
}

FString GetChannelDirectory()
{
	return FString(TextureShareChannel::Directory().wstring().c_str());
}

void Reset()
{
	TextureShareState::Reset();
}

} // namespace TextureShareTesting
