// FSceneViewExtensionContext of the stand-in engine (module Engine): where a view family is being rendered,
// handed to each view extension's activity test.
#pragma once

#include "CoreMinimal.h"
#include "Misc/Guid.h"
#include "Misc/Optional.h"
#include "Templates/Function.h"

class FViewport;
class FSceneInterface;
class ISceneViewExtension;
class UWorld;

/** The viewport (or scene) a view family is rendered for. */
struct FSceneViewExtensionContext
{
private:
	/** Lets a subclass of the context tell what it is. */
	virtual FName GetRTTI() const { return TEXT("FSceneViewExtensionContext"); }

public:
	/** The viewport being rendered, or null. */
	FViewport* Viewport = nullptr;
	/** The scene being rendered, or null (the stand-in has no scenes). */
	FSceneInterface* Scene = nullptr;
	/** Whether stereo rendering is on. */
	bool bStereoEnabled = false;

	FSceneViewExtensionContext()
		: Viewport(nullptr)
		, Scene(nullptr)
	{
	}
	explicit FSceneViewExtensionContext(FViewport* InViewport)
		: Viewport(InViewport)
	{
	}
	explicit FSceneViewExtensionContext(FSceneInterface* InScene)
		: Scene(InScene)
	{
	}
	virtual ~FSceneViewExtensionContext() = default;

	/** The world of Scene, or null without a scene. */
	ENGINE_API UWorld* GetWorld() const;

	bool IsStereoSupported() const { return bStereoEnabled; }
};

/** A test deciding whether an extension is active in a context; an unset result leaves the decision open. */
struct FSceneViewExtensionIsActiveFunctor
{
private:
	FGuid Guid;

public:
	FSceneViewExtensionIsActiveFunctor()
		: Guid(FGuid::NewGuid())
	{
	}

	TOptional<bool> operator()(const ISceneViewExtension* SceneViewExtension, const FSceneViewExtensionContext& Context) const
	{
		return IsActiveFunction ? IsActiveFunction(SceneViewExtension, Context) : TOptional<bool>();
	}

	const FGuid& GetGuid() const { return Guid; }

	TFunction<TOptional<bool>(const ISceneViewExtension*, const FSceneViewExtensionContext&)> IsActiveFunction;
};
