// FMemberReference (Engine): how a Blueprint node names a member (function or property): the class that owns
// it and its name, resolved when needed.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Class.h"
#include "UObject/ObjectPtr.h"
#include "Templates/SubclassOf.h"
#include "MemberReference.generated.h"

USTRUCT()
struct ENGINE_API FMemberReference
{
	GENERATED_BODY()

protected:
	/** The class that owns the member; null for a member of the Blueprint's own class (self context). */
	UPROPERTY()
	mutable TObjectPtr<UObject> MemberParent;

	/** Name of the member */
	UPROPERTY()
	mutable FName MemberName;

	/** Whether this is a 'self' context for the member. */
	UPROPERTY()
	mutable bool bSelfContext = false;

public:
	/** Names a member of another class. */
	void SetExternalMember(FName InMemberName, TSubclassOf<UObject> InMemberParentClass);

	/** Names a member of the Blueprint's own class. */
	void SetSelfMember(FName InMemberName);

	/** Names a field as a self-context member when bIsConsideredSelfContext, else as a member of its owner. */
	template<class TFieldType>
	void SetFromField(const UField* InField, const bool bIsConsideredSelfContext, UClass* OwnerClass = nullptr)
	{
		UClass* ParentClass = OwnerClass ? OwnerClass : InField->GetOwnerClass();
		if (bIsConsideredSelfContext)
		{
			SetSelfMember(InField->GetFName());
		}
		else
		{
			SetExternalMember(InField->GetFName(), ParentClass);
		}
	}

	FName GetMemberName() const { return MemberName; }

	bool IsSelfContext() const { return bSelfContext; }

	/** The class that owns the member, or SelfScope for a self-context member. */
	UClass* GetMemberParentClass(UClass* SelfScope = nullptr) const;

	/** The member, found by name on its owning class (SelfScope for a self-context member), or null. */
	template<class TFieldType>
	TFieldType* ResolveMember(UClass* SelfScope = nullptr) const
	{
		UClass* Scope = GetMemberParentClass(SelfScope);
		return Scope ? ResolveField(Scope, (TFieldType*)nullptr) : nullptr;
	}

private:
	UFunction* ResolveField(UClass* Scope, UFunction*) const;
};
