#include "SceneViewExtension.h"
#include "Engine/Engine.h"

#include <algorithm>

FSceneViewExtensionBase::~FSceneViewExtensionBase()
{
	// The registry holds weak references: a destroyed extension simply stops being gathered.
}

bool FSceneViewExtensionBase::IsActiveThisFrame(const FSceneViewExtensionContext& Context) const
{
	for (const FSceneViewExtensionIsActiveFunctor& IsActiveFunction : IsActiveThisFrameFunctions)
	{
		const TOptional<bool> IsActive = IsActiveFunction(this, Context);
		if (IsActive.IsSet())
		{
			return IsActive.GetValue();
		}
	}
	return IsActiveThisFrame_Internal(Context);
}

void FSceneViewExtensions::RegisterExtension(const FSceneViewExtensionRef& RegisterMe)
{
	checkf(GEngine != nullptr && GEngine->ViewExtensions.IsValid(), TEXT("View extensions are registered with a running engine"));
	TArray<TWeakPtr<ISceneViewExtension, ESPMode::ThreadSafe>>& KnownExtensions = GEngine->ViewExtensions->KnownExtensions;
	// Dead entries are dropped before the new one is added.
	for (int32 Index = 0; Index < KnownExtensions.Num();)
	{
		if (KnownExtensions[Index].IsValid())
		{
			++Index;
		}
		else
		{
			KnownExtensions.RemoveAtSwap(Index);
		}
	}
	KnownExtensions.AddUnique(RegisterMe);
}

const TArray<FSceneViewExtensionRef> FSceneViewExtensions::GatherActiveExtensions(const FSceneViewExtensionContext& InContext) const
{
	TArray<FSceneViewExtensionRef> ActiveExtensions;
	for (const TWeakPtr<ISceneViewExtension, ESPMode::ThreadSafe>& WeakExtension : KnownExtensions)
	{
		const TSharedPtr<ISceneViewExtension, ESPMode::ThreadSafe> Extension = WeakExtension.Pin();
		if (Extension.IsValid() && Extension->IsActiveThisFrame(InContext))
		{
			ActiveExtensions.Add(Extension.ToSharedRef());
		}
	}
	// Highest priority first. The engine's sort is not stable, so equal priorities have no promised order.
	std::sort(ActiveExtensions.GetData(), ActiveExtensions.GetData() + ActiveExtensions.Num(),
		[](const FSceneViewExtensionRef& A, const FSceneViewExtensionRef& B) { return A->GetPriority() > B->GetPriority(); });
	return ActiveExtensions;
}

UWorld* FSceneViewExtensionContext::GetWorld() const
{
	// The world comes from the scene, and the stand-in has no scenes.
	return nullptr;
}
