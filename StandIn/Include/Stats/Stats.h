// Stat ids. A cycle stat declared with DECLARE_CYCLE_STAT or RETURN_QUICK_DECLARE_CYCLE_STAT is
// registered once (name, group, category, group description) and identified by its TStatId.
#pragma once

#include "HAL/Platform.h"
#include "UObject/NameTypes.h"

namespace UE::Stats::Private
{
	/** What the engine knows about one stat. */
	struct FStatDescription
	{
		const TCHAR* StatName;
		const TCHAR* Description;
		const TCHAR* GroupName;
		const TCHAR* GroupCategory;
		const TCHAR* GroupDescription;
	};
}

/** Opaque identifier of a registered stat; default-constructed ids are not valid. */
struct TStatId
{
	FORCEINLINE TStatId()
		: StatIdPtr(nullptr)
	{
	}

	FORCEINLINE explicit TStatId(const UE::Stats::Private::FStatDescription* InStatIdPtr)
		: StatIdPtr(InStatIdPtr)
	{
	}

	FORCEINLINE bool IsValidStat() const { return StatIdPtr != nullptr; }
	FORCEINLINE bool IsNone() const { return StatIdPtr == nullptr; }
	FORCEINLINE const UE::Stats::Private::FStatDescription* GetRawPointer() const { return StatIdPtr; }
	/** The stat's name, or NAME_None. */
	FName GetName() const { return StatIdPtr ? FName(StatIdPtr->StatName) : FName(); }

	FORCEINLINE bool operator==(TStatId Other) const { return StatIdPtr == Other.StatIdPtr; }
	FORCEINLINE bool operator!=(TStatId Other) const { return StatIdPtr != Other.StatIdPtr; }

private:
	const UE::Stats::Private::FStatDescription* StatIdPtr;
};

namespace UE::Stats::Private
{
	/** Registers a stat and returns its id; the description's strings must outlive the process. */
	CORE_API TStatId RegisterStat(const FStatDescription& Description);
}

#define DECLARE_STATS_GROUP(GroupDesc, GroupId, GroupCat) \
	struct FStatGroup_##GroupId \
	{ \
		static const TCHAR* GetGroupName() { return TEXT(#GroupId); } \
		static const TCHAR* GetGroupCategory() { return TEXT(#GroupCat); } \
		static const TCHAR* GetDescription() { return GroupDesc; } \
	};

#define DECLARE_CYCLE_STAT(CounterName, StatId, GroupId) \
	struct FStat_##StatId \
	{ \
		static TStatId GetStatId() \
		{ \
			static const TStatId Id = UE::Stats::Private::RegisterStat(UE::Stats::Private::FStatDescription{TEXT(#StatId), CounterName, FStatGroup_##GroupId::GetGroupName(), \
				FStatGroup_##GroupId::GetGroupCategory(), FStatGroup_##GroupId::GetDescription()}); \
			return Id; \
		} \
	};

#define GET_STATID(Stat) (FStat_##Stat::GetStatId())

/** Declares a cycle stat named StatId in GroupId once, and returns its TStatId. */
#define RETURN_QUICK_DECLARE_CYCLE_STAT(StatId, GroupId) \
	DECLARE_CYCLE_STAT(TEXT(#StatId), StatId, GroupId) \
	return GET_STATID(StatId);

DECLARE_STATS_GROUP(TEXT("Tickables"), STATGROUP_Tickables, STATCAT_Advanced);
DECLARE_STATS_GROUP(TEXT("Game"), STATGROUP_Game, STATCAT_Advanced);
DECLARE_STATS_GROUP(TEXT("Engine"), STATGROUP_Engine, STATCAT_Advanced);
