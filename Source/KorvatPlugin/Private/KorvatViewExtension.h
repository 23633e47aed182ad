// Reports the size of the views rendered in one viewport to the host.
#pragma once

#include "CoreMinimal.h"
#include "SceneViewExtension.h"

class FViewport;

/** One per viewport, active only for view families of that viewport; sends the host VIEW as they start rendering. */
class FKorvatViewExtension : public FSceneViewExtensionBase
{
public:
	FKorvatViewExtension(const FAutoRegister& AutoRegister, FViewport* InViewport);

	//~ Begin ISceneViewExtension Interface
	virtual void SetupViewFamily(FSceneViewFamily& InViewFamily) override {}
	virtual void SetupView(FSceneViewFamily& InViewFamily, FSceneView& InView) override {}
	virtual void BeginRenderViewFamily(FSceneViewFamily& InViewFamily) override;
	virtual int32 GetPriority() const override { return -1; }
	//~ End ISceneViewExtension Interface

	/** The viewport this extension serves (not owned). */
	FViewport* const Viewport;

protected:
	//~ Begin FSceneViewExtensionBase Interface
	virtual bool IsActiveThisFrame_Internal(const FSceneViewExtensionContext& Context) const override;
	//~ End FSceneViewExtensionBase Interface
};
