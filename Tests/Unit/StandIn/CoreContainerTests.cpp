// Containers and smart pointers of the stand-in engine: TArray, TMap (replacing Add, FString keys
// without case, insertion order and hole reuse), TMultiMap (MultiFind newest first), TSet, shared
// and unique pointers.
#include <gtest/gtest.h>

#include "CoreMinimal.h"

namespace
{
	TEST(CoreArray_test, AddFindRemoveAndResize)
	{
		TArray<FString> Names;
		EXPECT_EQ(Names.GetData(), nullptr);
		EXPECT_EQ(Names.Add(TEXT("a")), 0);
		EXPECT_EQ(Names.Emplace(TEXT("b")), 1);
		EXPECT_EQ(Names.AddUnique(TEXT("A")), 0); // FString equality ignores case
		EXPECT_EQ(Names.Add(TEXT("a")), 2);
		EXPECT_EQ(Names.Num(), 3);
		EXPECT_TRUE(Names.Contains(TEXT("B")));
		EXPECT_EQ(Names.Find(TEXT("b")), 1);
		EXPECT_EQ(Names.Find(TEXT("zz")), INDEX_NONE);
		EXPECT_EQ(Names.Last(), TEXT("a"));
		EXPECT_EQ(Names.Remove(TEXT("a")), 2);
		ASSERT_EQ(Names.Num(), 1);
		EXPECT_EQ(Names[0], TEXT("b"));

		Names.Insert(TEXT("first"), 0);
		Names.Add(Names[0]); // adding an element of the array itself, across a reallocation
		for (int32 I = 0; I < 20; ++I)
		{
			Names.Add(Names[0]);
		}
		EXPECT_EQ(Names.Num(), 23);
		EXPECT_EQ(Names.Last(), TEXT("first"));
		Names.RemoveAt(0);
		EXPECT_EQ(Names[0], TEXT("b"));
		Names.RemoveAt(1, 3);
		EXPECT_EQ(Names.Num(), 19);
		EXPECT_TRUE(Names.IsValidIndex(18));
		EXPECT_FALSE(Names.IsValidIndex(19));
		EXPECT_FALSE(Names.IsValidIndex(-1));

		Names.SetNum(25);
		EXPECT_TRUE(Names.Last().IsEmpty());
		const int32 Capacity = Names.Max();
		Names.Reset();
		EXPECT_EQ(Names.Num(), 0);
		EXPECT_EQ(Names.Max(), Capacity);
		Names.Empty();
		EXPECT_EQ(Names.GetData(), nullptr);

		TArray<int32> Numbers{5, 3, 9, 1};
		Numbers.Sort();
		EXPECT_EQ(Numbers, (TArray<int32>{1, 3, 5, 9}));
		int32 Sum = 0;
		for (int32 Value : Numbers)
		{
			Sum += Value;
		}
		EXPECT_EQ(Sum, 18);
		EXPECT_EQ(Numbers.RemoveAll([](int32 Value) { return Value > 4; }), 2);
		EXPECT_EQ(Numbers.Pop(), 3);
	}

	TEST(CoreMap_test, AddReplacesAndStringKeysIgnoreCase)
	{
		TMap<FString, int32> Values;
		Values.Add(TEXT("Speed"), 1);
		Values.Add(TEXT("Height"), 2);
		EXPECT_EQ(Values.Add(TEXT("SPEED"), 3), 3);
		EXPECT_EQ(Values.Num(), 2);
		ASSERT_NE(Values.Find(TEXT("speed")), nullptr);
		EXPECT_EQ(*Values.Find(TEXT("speed")), 3);
		EXPECT_EQ(Values.Find(TEXT("Width")), nullptr);
		EXPECT_EQ(Values.FindRef(TEXT("Width")), 0);
		EXPECT_EQ(Values.FindRef(TEXT("height")), 2);
		EXPECT_TRUE(Values.Contains(TEXT("HEIGHT")));
		EXPECT_EQ(Values.FindOrAdd(TEXT("Width")), 0);
		EXPECT_EQ(Values.Num(), 3);
		EXPECT_EQ(Values.Remove(TEXT("WIDTH")), 1);
		EXPECT_EQ(Values.Remove(TEXT("Width")), 0);
		EXPECT_EQ(Values[TEXT("Height")], 2);
	}

	TEST(CoreMap_test, IterationFollowsInsertionOrderAndRemovalHolesAreRefilled)
	{
		TMap<int32, FString> Map;
		for (int32 Key = 0; Key < 6; ++Key)
		{
			Map.Add(Key * 10, FString::Printf(TEXT("v%d"), Key));
		}
		TArray<int32> Order;
		for (const TPair<int32, FString>& Pair : Map)
		{
			Order.Add(Pair.Key);
		}
		EXPECT_EQ(Order, (TArray<int32>{0, 10, 20, 30, 40, 50}));

		Map.Remove(20);
		Map.Add(99, TEXT("new"));
		Order.Reset();
		for (auto It = Map.CreateConstIterator(); It; ++It)
		{
			Order.Add(It.Key());
		}
		EXPECT_EQ(Order, (TArray<int32>{0, 10, 99, 30, 40, 50}));

		for (auto It = Map.CreateIterator(); It; ++It)
		{
			if (It.Key() % 20 == 10)
			{
				It.RemoveCurrent();
			}
		}
		EXPECT_EQ(Map.Num(), 3);
		EXPECT_FALSE(Map.Contains(10));
		EXPECT_FALSE(Map.Contains(30));
		EXPECT_FALSE(Map.Contains(50));
		EXPECT_TRUE(Map.Contains(99));

		TMap<int32, int32> Large;
		for (int32 Key = 0; Key < 1000; ++Key)
		{
			Large.Add(Key, Key * 2);
		}
		for (int32 Key = 0; Key < 1000; Key += 2)
		{
			Large.Remove(Key);
		}
		EXPECT_EQ(Large.Num(), 500);
		EXPECT_EQ(Large.FindRef(777), 1554);
		EXPECT_EQ(Large.Find(778), nullptr);
	}

	TEST(CoreMultiMap_test, MultiFindReturnsNewestFirstUnlessOrderIsMaintained)
	{
		TMultiMap<uint32, FString> Events;
		Events.Add(7u, TEXT("first"));
		Events.Add(8u, TEXT("other"));
		Events.Add(7u, TEXT("second"));
		Events.Add(7u, TEXT("third"));
		EXPECT_EQ(Events.Num(), 4);
		EXPECT_EQ(Events.Num(7u), 3);

		TArray<FString> Newest;
		Events.MultiFind(7u, Newest);
		EXPECT_EQ(Newest, (TArray<FString>{TEXT("third"), TEXT("second"), TEXT("first")}));

		TArray<FString> InOrder;
		Events.MultiFind(7u, InOrder, true);
		EXPECT_EQ(InOrder, (TArray<FString>{TEXT("first"), TEXT("second"), TEXT("third")}));

		EXPECT_NE(Events.FindPair(7u, TEXT("second")), nullptr);
		EXPECT_EQ(Events.Remove(7u, TEXT("second")), 1);
		EXPECT_EQ(Events.Num(7u), 2);
		Events.AddUnique(7u, TEXT("first"));
		EXPECT_EQ(Events.Num(7u), 2);
		EXPECT_EQ(Events.Remove(7u), 2);
		EXPECT_EQ(Events.Num(), 1);
		EXPECT_TRUE(Events.Contains(8u));
	}

	TEST(CoreSet_test, AddIgnoresDuplicatesAndRemoveReportsCount)
	{
		TSet<FName> Set;
		Set.Add(FName(TEXT("CoreSetAlpha")));
		bool bAlreadyInSet = false;
		Set.Add(FName(TEXT("CORESETALPHA")), &bAlreadyInSet);
		EXPECT_TRUE(bAlreadyInSet);
		Set.Add(FName(TEXT("CoreSetBeta")));
		EXPECT_EQ(Set.Num(), 2);
		EXPECT_TRUE(Set.Contains(FName(TEXT("coresetbeta"))));
		EXPECT_EQ(Set.Remove(FName(TEXT("CoreSetAlpha"))), 1);
		EXPECT_EQ(Set.Remove(FName(TEXT("CoreSetAlpha"))), 0);
		EXPECT_EQ(Set.Array(), (TArray<FName>{FName(TEXT("CoreSetBeta"))}));
	}

	struct FSelfAware : public TSharedFromThis<FSelfAware>
	{
		explicit FSelfAware(int32 InValue) : Value(InValue) {}
		TSharedRef<FSelfAware> Self() { return AsShared(); }
		int32 Value;
	};

	TEST(CoreSharedPointer_test, SharedWeakAndSharedFromThis)
	{
		static_assert(std::is_same_v<TSharedPtr<int32>, TSharedPtr<int32, ESPMode::ThreadSafe>>, "ThreadSafe is the default mode");

		TSharedPtr<FSelfAware> Owner = MakeShared<FSelfAware>(5);
		TWeakPtr<FSelfAware> Weak = Owner;
		EXPECT_TRUE(Weak.IsValid());
		{
			TSharedRef<FSelfAware> Self = Owner->Self();
			EXPECT_EQ(Self->Value, 5);
			EXPECT_EQ(Owner.GetSharedReferenceCount(), 2);
		}
		EXPECT_TRUE(Owner.IsUnique());
		TSharedRef<FSelfAware> AsRef = Owner.ToSharedRef();
		EXPECT_EQ(&AsRef.Get(), Owner.Get());
		Owner.Reset();
		EXPECT_TRUE(Weak.Pin().IsValid());
		AsRef = MakeShared<FSelfAware>(6);
		EXPECT_FALSE(Weak.IsValid());
		EXPECT_FALSE(Weak.Pin().IsValid());

		int32 Deleted = 0;
		{
			TSharedPtr<int32> Custom = MakeShareable(new int32(3), [&Deleted](int32* Ptr) { ++Deleted; delete Ptr; });
			TSharedPtr<const int32> Copy = Custom;
			EXPECT_EQ(*Copy, 3);
		}
		EXPECT_EQ(Deleted, 1);

		TSharedPtr<FSelfAware> FromRaw = MakeShareable(new FSelfAware(8));
		EXPECT_EQ(FromRaw->Self()->Value, 8);
	}

	TEST(CoreUniquePtr_test, UniquePtrAndOptional)
	{
		TUniquePtr<FString> Owned = MakeUnique<FString>(TEXT("owned"));
		EXPECT_TRUE(Owned.IsValid());
		TUniquePtr<FString> Moved = MoveTemp(Owned);
		EXPECT_FALSE(Owned.IsValid());
		EXPECT_EQ(*Moved, TEXT("owned"));
		Moved.Reset();
		EXPECT_EQ(Moved.Get(), nullptr);

		TOptional<int32> Maybe;
		EXPECT_FALSE(Maybe.IsSet());
		EXPECT_EQ(Maybe.Get(4), 4);
		Maybe = 9;
		EXPECT_EQ(Maybe.GetValue(), 9);
	}
}
