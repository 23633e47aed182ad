// Scene view extensions of the stand-in engine (module Engine): hooks into the rendering of view families.
//
// An extension derives from FSceneViewExtensionBase and is made and registered by
// FSceneViewExtensions::NewExtension<T>(Args...), which constructs T(FAutoRegister(), Args...). The engine's
// registry (GEngine->ViewExtensions) keeps weak references only: the extension lives as long as its owner
// keeps a shared pointer to it, and a dead one is skipped and dropped. Each frame, for each viewport, the
// engine gathers the extensions active for that viewport, highest priority first, and calls them on the game
// thread in this order: SetupViewFamily, then SetupView for each view made (at the end of
// ULocalPlayer::CalcSceneView), then BeginRenderViewFamily when the family is handed to the renderer.
#pragma once

#include "CoreMinimal.h"
#include "SceneViewExtensionContext.h"

class APlayerController;
class FRDGBuilder;
class FSceneView;
class FSceneViewFamily;
class FViewport;
struct FMinimalViewInfo;
struct FSceneViewProjectionData;

class ISceneViewExtension
{
public:
	virtual ~ISceneViewExtension() {}

	/** Called on the game thread when the view family is created. */
	virtual void SetupViewFamily(FSceneViewFamily& InViewFamily) = 0;

	/** Called on the game thread when a view of the family is created. */
	virtual void SetupView(FSceneViewFamily& InViewFamily, FSceneView& InView) = 0;

	/** Called when the view point is made, before culling. */
	virtual void SetupViewPoint(APlayerController* /*Player*/, FMinimalViewInfo& /*InViewInfo*/) {}

	/** Called when the view is made, so the projection can be changed. */
	virtual void SetupViewProjectionMatrix(FSceneViewProjectionData& /*InOutProjectionData*/) {}

	/** Called on the game thread when the view family is about to be rendered. */
	virtual void BeginRenderViewFamily(FSceneViewFamily& InViewFamily) = 0;

	/** Called on the render thread at the start of rendering (the stand-in has no render thread and never calls it). */
	virtual void PreRenderViewFamily_RenderThread(FRDGBuilder& /*GraphBuilder*/, FSceneViewFamily& /*InViewFamily*/) {}

	/** Called on the render thread for each view (never called by the stand-in). */
	virtual void PreRenderView_RenderThread(FRDGBuilder& /*GraphBuilder*/, FSceneView& /*InView*/) {}

	/** Priority among the extensions: higher comes first. */
	virtual int32 GetPriority() const { return 0; }

	/** Whether the extension runs in this context this frame; false leaves it out of the frame entirely. */
	virtual bool IsActiveThisFrame(const FSceneViewExtensionContext& /*Context*/) const { return true; }
};

/** Ensures every extension is constructed by FSceneViewExtensions::NewExtension<T>(Args). */
class FAutoRegister
{
	friend class FSceneViewExtensions;
	FAutoRegister() {}
};

/** Base of view extensions. */
class ENGINE_API FSceneViewExtensionBase : public ISceneViewExtension, public TSharedFromThis<FSceneViewExtensionBase, ESPMode::ThreadSafe>
{
public:
	FSceneViewExtensionBase(const FAutoRegister&) {}
	virtual ~FSceneViewExtensionBase();

	/** Tests that can activate or deactivate the extension in a context; the first definite answer wins. */
	TArray<FSceneViewExtensionIsActiveFunctor> IsActiveThisFrameFunctions;

	/**
	 * Whether the extension runs in Context this frame: the first definite answer of IsActiveThisFrameFunctions,
	 * else IsActiveThisFrame_Internal. Final in the stand-in: a subclass overrides IsActiveThisFrame_Internal.
	 * UNCONFIRMED for 5.5 that the engine declares it final.
	 */
	virtual bool IsActiveThisFrame(const FSceneViewExtensionContext& Context) const override final;

protected:
	/** The extension's own activity test; active everywhere unless overridden. */
	virtual bool IsActiveThisFrame_Internal(const FSceneViewExtensionContext& /*Context*/) const { return true; }
};

using FSceneViewExtensionRef = TSharedRef<ISceneViewExtension, ESPMode::ThreadSafe>;

/** The engine's registry of view extensions (GEngine->ViewExtensions). */
class ENGINE_API FSceneViewExtensions
{
	friend class FSceneViewExtensionBase;

public:
	/** Creates an extension of type ExtensionType from FAutoRegister and Args, registers it and returns it. */
	template <typename ExtensionType, typename... TArgs>
	static TSharedRef<ExtensionType, ESPMode::ThreadSafe> NewExtension(TArgs&&... Args)
	{
		TSharedRef<ExtensionType, ESPMode::ThreadSafe> NewExtension = MakeShareable(new ExtensionType(FAutoRegister(), Forward<TArgs>(Args)...));
		RegisterExtension(NewExtension);
		return NewExtension;
	}

	/**
	 * The live extensions active in InContext (ISceneViewExtension::IsActiveThisFrame), sorted by priority,
	 * highest first (ISceneViewExtension::GetPriority).
	 */
	const TArray<FSceneViewExtensionRef> GatherActiveExtensions(const FSceneViewExtensionContext& InContext) const;

private:
	/** Adds RegisterMe to GEngine's registry, first dropping the entries whose extension is gone. */
	static void RegisterExtension(const FSceneViewExtensionRef& RegisterMe);

	TArray<TWeakPtr<ISceneViewExtension, ESPMode::ThreadSafe>> KnownExtensions;
};
