#include "KorvatD2ISyncNodeBase.h"

#include "KorvatPluginModule.h"

namespace KorvatD2ISyncNodeBase
{
/** Names are tested one UTF-16 unit at a time, as the C library classifies them: only ASCII letters and digits count. */
bool IsAsciiLetter(TCHAR Char)
{
	return (Char >= 'A' && Char <= 'Z') || (Char >= 'a' && Char <= 'z');
}

bool IsAsciiDigit(TCHAR Char)
{
	return Char >= '0' && Char <= '9';
}
} // namespace KorvatD2ISyncNodeBase

FString UKorvatD2ISyncNodeBase::FixName(int32 Index, const FKorvatNodeField& Field)
{
	using namespace KorvatD2ISyncNodeBase;
	if (Field.fieldName.IsEmpty())
	{
		const FString TypeName = StaticEnum<KorvatType>()->GetNameStringByValue(static_cast<int64>(Field.fieldType));
		return FString::Printf(TEXT("%s_%d"), *TypeName, Index);
	}
	FString Name = Field.fieldName;
	if (!IsAsciiLetter(Name[0]) && Name[0] != TEXT('_'))
	{
		Name = TEXT("_") + Name;
	}
	for (int32 CharIndex = 1; CharIndex < Name.Len(); ++CharIndex)
	{
		const TCHAR Char = Name[CharIndex];
		if (!IsAsciiLetter(Char) && !IsAsciiDigit(Char) && Char != TEXT('_'))
		{
			Name[CharIndex] = TEXT('_');
		}
	}
	return Name;
}

void UKorvatD2ISyncNodeBase::RequestFieldsFromHost()
{
	if (FKorvatPlugin* Runtime = FKorvatPlugin::FindLoaded())
	{
		Runtime->RequestFieldListUpdate(nodeInKorvatToSyncFrom, this);
	}
}

void UKorvatD2ISyncNodeBase::BeginDestroy()
{
	// An answer still on its way must never reach a node that is gone.
	if (FKorvatPlugin* Runtime = FKorvatPlugin::FindLoaded())
	{
		Runtime->CancelFieldListRequests(this);
	}
	Super::BeginDestroy();
}
